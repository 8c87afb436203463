// Start-up and memory beside two references, and the Signin click to the
// painted timeline. Run under an X display (xvfb-run) in a network namespace
// of its own; the sign-in child serves its service on loopback.
//
//   empty window  an empty Qt window of the main window's size
//   floor         the same with shared OpenGL contexts (what the web engine
//                 requires, so no program on this stack starts faster)
//   Plumwit       the program itself, signed out, nobody typing
//
// Start-up is exec to the first window mapped (seen from the X server), the
// median of interleaved rounds. PSS is the whole process tree's, 3 s and 10 s
// after exec. The sign-in is timed in a fresh Plumwit process: "cold" types
// the credentials as soon as the window shows and clicks at once; "warm"
// signs out and in again with the web engine running.
#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>

#include "main_window/form_set.h"
#include "main_window/main_window.h"
#include "support/loopback_http_server.h"
#include "timeline/timeline_view.h"
#include "ui/guarded_application.h"
#include "ui/picture_tool_button.h"
#include "ui/ui_seams.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// A brisk typist: ten keys a second.
constexpr int kTypingMs = 100;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// ---- children --------------------------------------------------------------

struct Program {
  const char* name;
  std::vector<std::string> argv;
};

// A scratch home for every child, so no settings or remembered sign-in of
// the user's are read.
std::vector<std::string> ChildEnvironment(const std::string& home) {
  std::vector<std::string> env;
  for (char** entry = environ; *entry; ++entry) {
    const std::string text = *entry;
    if (text.rfind("HOME=", 0) == 0 || text.rfind("XDG_CONFIG_HOME=", 0) == 0 ||
        text.rfind("XDG_DATA_HOME=", 0) == 0)
      continue;
    env.push_back(text);
  }
  env.push_back("HOME=" + home);
  env.push_back("XDG_CONFIG_HOME=" + home + "/config");
  env.push_back("XDG_DATA_HOME=" + home + "/data");
  return env;
}

pid_t Spawn(const Program& program, const std::string& home, int stdout_fd = -1) {
  std::vector<char*> argv;
  for (const std::string& arg : program.argv) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  std::vector<std::string> env_text = ChildEnvironment(home);
  std::vector<char*> env;
  for (std::string& text : env_text) env.push_back(text.data());
  env.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (stdout_fd >= 0) posix_spawn_file_actions_adddup2(&actions, stdout_fd, STDOUT_FILENO);
  pid_t child = 0;
  const int failed = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), env.data());
  posix_spawn_file_actions_destroy(&actions);
  return failed ? -1 : child;
}

std::map<pid_t, pid_t> ParentsOfAll() {
  std::map<pid_t, pid_t> parents;
  DIR* proc = opendir("/proc");
  if (!proc) return parents;
  while (dirent* entry = readdir(proc)) {
    const pid_t pid = std::atoi(entry->d_name);
    if (pid <= 0) continue;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) continue;
    const auto close = line.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream rest(line.substr(close + 2));
    char state;
    pid_t parent = 0;
    rest >> state >> parent;
    parents[pid] = parent;
  }
  closedir(proc);
  return parents;
}

std::vector<pid_t> Tree(pid_t root) {
  const std::map<pid_t, pid_t> parents = ParentsOfAll();
  std::vector<pid_t> tree{root};
  for (size_t i = 0; i < tree.size(); ++i)
    for (const auto& [pid, parent] : parents)
      if (parent == tree[i]) tree.push_back(pid);
  return tree;
}

double TreePssMiB(pid_t root) {
  long long kib = 0;
  for (pid_t pid : Tree(root)) {
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    std::string line;
    while (std::getline(rollup, line))
      if (line.rfind("Pss:", 0) == 0) kib += std::atoll(line.c_str() + 4);
  }
  return static_cast<double>(kib) / 1024.0;
}

void EndTree(pid_t root) {
  const std::vector<pid_t> tree = Tree(root);
  for (auto pid = tree.rbegin(); pid != tree.rend(); ++pid) ::kill(*pid, SIGTERM);
  int status = 0;
  ::waitpid(root, &status, 0);
}

// The processor time `pid` has used so far, in milliseconds: on a busy
// machine a steadier measure than the time on the clock.
double CpuMs(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return -1;
  const auto close = line.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(line.substr(close + 2));
  std::string field;
  for (int i = 3; i <= 13; ++i) fields >> field;
  long long user = 0;
  long long system = 0;
  fields >> user >> system;
  return static_cast<double>(user + system) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

struct StartUp {
  double ms = -1;
  double cpu_ms = -1;
};

// From exec to the first window the child maps; negative when none shows
// within 20 s.
StartUp TimeToFirstWindow(const Program& program, const std::string& home) {
  xcb_connection_t* x = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(x)) return {};
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(x);
  const auto started = Clock::now();
  const pid_t child = Spawn(program, home);
  StartUp result;
  pollfd wait_for_x{xcb_get_file_descriptor(x), POLLIN, 0};
  while (child > 0 && result.ms < 0 && MsSince(started) < 20000) {
    ::poll(&wait_for_x, 1, 100);
    while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
      if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY && result.ms < 0) {
        result.ms = MsSince(started);
        result.cpu_ms = CpuMs(child);
      }
      std::free(event);
    }
  }
  xcb_disconnect(x);
  if (child > 0) EndTree(child);
  return result;
}

struct Memory {
  double at_3s = 0;
  double at_10s = 0;
};

Memory MeasureMemory(const Program& program, const std::string& home) {
  Memory memory;
  const auto started = Clock::now();
  const pid_t child = Spawn(program, home);
  if (child <= 0) return memory;
  std::this_thread::sleep_until(started + std::chrono::seconds(3));
  memory.at_3s = TreePssMiB(child);
  std::this_thread::sleep_until(started + std::chrono::seconds(10));
  memory.at_10s = TreePssMiB(child);
  EndTree(child);
  return memory;
}

// ---- the sign-in child -------------------------------------------------------

class FirstPaint : public QObject {
 public:
  bool painted = false;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return QObject::eventFilter(watched, event);
  }
};

template <typename Condition>
bool WaitUntil(Condition condition, int timeout_ms) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > timeout_ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QThread::usleep(200);
  }
  return true;
}

std::string UserRecord() {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<user><id>1</id><name>Bench Mark</name>"
         "<screen_name>bench</screen_name><followers_count>10</followers_count>"
         "<friends_count>20</friends_count><statuses_count>30</statuses_count></user>\n";
}

// Twenty statuses, the most the service sends.
std::string Timeline(const std::string& host) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<statuses type=\"array\">\n";
  for (int i = 0; i < 20; ++i) {
    xml += "<status><created_at>Tue Mar 02 10:00:00 +0000 2010</created_at><text>Status number " +
           std::to_string(i) + " with a link http://example.org/" + std::to_string(i) +
           " and some words to wrap across the narrow view</text><user><name>Author " +
           std::to_string(i) + "</name><screen_name>author" + std::to_string(i) +
           "</screen_name><profile_image_url>http://" + host +
           "/avatar.png</profile_image_url><created_at>Mon Jan 04 09:00:00 +0000 "
           "2010</created_at></user></status>\n";
  }
  return xml + "</statuses>\n";
}

// Two animation frames after the page loaded: it has been painted.
bool WaitForPaintedPage(plumwit::TimelineView& view, int round) {
  view.RunJavaScript(QStringLiteral("requestAnimationFrame(function(){requestAnimationFrame("
                                    "function(){window.benchPainted=%1;});});")
                         .arg(round),
                     {});
  bool painted = false;
  return WaitUntil(
      [&] {
        bool answered = false;
        view.RunJavaScript(QStringLiteral("window.benchPainted"), [&](const QVariant& value) {
          painted = value.toInt() == round;
          answered = true;
        });
        WaitUntil([&] { return answered; }, 5000);
        return painted;
      },
      10000);
}

int RunSignInChild(int argc, char** argv, int typing_ms) {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  plumwit::GuardedApplication app(argc, argv);
  QGuiApplication::setQuitOnLastWindowClosed(false);
  plumwit::test::LoopbackHttpServer server;
  server.Script("/users/show/bench", "200 OK", "text/xml", UserRecord());
  server.Script("/statuses/home_timeline/bench.xml", "200 OK", "text/xml", Timeline(server.Host()));
  server.Script("/avatar.png", "404 Not Found", "text/plain", "");
  plumwit::UiSeams::MessageBox() = [](const QString&) {};
  QTemporaryDir program;
  QTemporaryDir data;
  QFile::copy(QStringLiteral(PLUMWIT_STYLESHEET_PATH),
              program.filePath(QStringLiteral("style.css")));
  plumwit::WindowSetup setup;
  setup.program_folder = program.path().toStdString() + "/";
  setup.application_data_folder = data.path().toStdString();
  setup.service_host = server.Host();
  setup.view_module_file = PLUMWIT_VIEW_MODULE_PATH;
  plumwit::FormSet forms(std::move(setup));
  plumwit::TKIV& kiv = forms.KIV();
  FirstPaint first_paint;
  kiv.installEventFilter(&first_paint);
  kiv.show();
  if (!WaitUntil([&] { return first_paint.painted; }, 20000)) return 1;
  plumwit::TimelineView& view = kiv.ClientTweets();
  int pages = 0;
  QObject::connect(&view, &plumwit::TimelineView::PageLoaded, [&pages](bool) { ++pages; });
  auto* login = kiv.findChild<QPushButton*>(QStringLiteral("Login"));
  auto* logout = kiv.findChild<plumwit::PictureToolButton*>(QStringLiteral("LoginLogout"));

  auto* user = kiv.findChild<QLineEdit*>(QStringLiteral("HomeUsername"));
  auto* password = kiv.findChild<QLineEdit*>(QStringLiteral("HomePassword"));
  if (typing_ms > 0) {
    // A user who starts typing at once, a key every `typing_ms`; the first
    // keystroke sets the web engine going.
    for (const QString& text : {QStringLiteral("bench"), QStringLiteral("secret")}) {
      QLineEdit* box = text == QStringLiteral("bench") ? user : password;
      for (const QChar key : text) {
        box->setText(box->text() + key);
        WaitUntil([] { return false; }, typing_ms);
      }
    }
  } else {
    // Pasted and clicked at once: the click waits for all the keystrokes
    // set going.
    user->setText(QStringLiteral("bench"));
    password->setText(QStringLiteral("secret"));
  }
  for (int round = 1; round <= 9; ++round) {
    const auto clicked = Clock::now();
    QCoreApplication::processEvents();
    login->click();
    if (!WaitUntil([&] { return pages >= round; }, 30000) || !WaitForPaintedPage(view, round))
      return 1;
    std::printf("%s %.1f\n", round == 1 ? "cold" : "warm", MsSince(clicked));
    std::fflush(stdout);
    logout->click();
    WaitUntil([] { return false; }, 300);
  }
  return 0;
}

struct SignIns {
  std::vector<double> cold;
  std::vector<double> warm;
};

void MeasureSignIns(const char* self, const std::string& home, int typing_ms, SignIns& sign_ins) {
  int pipe_ends[2];
  if (::pipe(pipe_ends) != 0) return;
  const pid_t child =
      Spawn({"sign-in", {self, "--child=signin", std::to_string(typing_ms)}}, home, pipe_ends[1]);
  ::close(pipe_ends[1]);
  std::string output;
  char buffer[256];
  ssize_t n = 0;
  while (child > 0 && (n = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0)
    output.append(buffer, static_cast<size_t>(n));
  ::close(pipe_ends[0]);
  if (child > 0) EndTree(child);
  std::istringstream lines(output);
  std::string kind;
  double ms;
  while (lines >> kind >> ms) (kind == "cold" ? sign_ins.cold : sign_ins.warm).push_back(ms);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 && std::strcmp(argv[1], "--child=signin") == 0)
    return RunSignInChild(argc, argv, std::atoi(argv[2]));
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;

  char home_template[] = "/tmp/plumwit-bench-XXXXXX";
  const char* home_folder = mkdtemp(home_template);
  if (!home_folder) return 1;
  const std::string home = home_folder;
  const std::vector<Program> programs = {
      {"empty window", {PLUMWIT_BENCH_WINDOW}},
      {"floor reference", {PLUMWIT_BENCH_WINDOW, "--floor"}},
      {"Plumwit", {PLUMWIT_PROGRAM}},
  };

  std::vector<std::vector<double>> startups(programs.size());
  std::vector<std::vector<double>> startup_cpu(programs.size());
  for (int round = 0; round < rounds; ++round) {
    for (size_t i = 0; i < programs.size(); ++i) {
      const StartUp startup = TimeToFirstWindow(programs[i], home);
      if (startup.ms < 0) continue;
      startups[i].push_back(startup.ms);
      startup_cpu[i].push_back(startup.cpu_ms);
    }
  }
  std::vector<Memory> memory;
  for (const Program& program : programs) memory.push_back(MeasureMemory(program, home));
  SignIns typed;
  SignIns pasted;
  for (int run = 0; run < 3; ++run) {
    MeasureSignIns(argv[0], home, kTypingMs, typed);
    MeasureSignIns(argv[0], home, 0, pasted);
  }
  std::system(("rm -rf '" + home + "'").c_str());

  std::printf("\n%-16s %14s %17s %16s %17s\n", "program", "first window", "(processor time)",
              "PSS at 3 s", "PSS at 10 s");
  for (size_t i = 0; i < programs.size(); ++i) {
    std::printf("%-16s %11.1f ms %14.1f ms %12.1f MiB %13.1f MiB\n", programs[i].name,
                Median(startups[i]), Median(startup_cpu[i]), memory[i].at_3s, memory[i].at_10s);
  }
  const double floor = Median(startups[1]);
  const double plumwit = Median(startups[2]);
  const double floor_cpu = Median(startup_cpu[1]);
  std::printf(
      "\nPlumwit against the floor: start-up %.2fx (processor time %.2fx; goal 1.3x), "
      "PSS %.2fx / %.2fx (goal 1.5x)\n",
      floor > 0 ? plumwit / floor : 0.0, floor_cpu > 0 ? Median(startup_cpu[2]) / floor_cpu : 0.0,
      memory[1].at_3s > 0 ? memory[2].at_3s / memory[1].at_3s : 0.0,
      memory[1].at_10s > 0 ? memory[2].at_10s / memory[1].at_10s : 0.0);
  std::printf(
      "Signin click to painted timeline (goal under 1000 ms cold):\n"
      "  cold, typed from start-up at a key per %d ms: %.1f ms (median of %zu)\n"
      "  cold, pasted and clicked at once:            %.1f ms (median of %zu)\n"
      "  warm:                                         %.1f ms (median of %zu)\n",
      kTypingMs, Median(typed.cold), typed.cold.size(), Median(pasted.cold), pasted.cold.size(),
      Median(typed.warm), typed.warm.size());
  return 0;
}
