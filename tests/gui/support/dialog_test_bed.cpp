#include "support/dialog_test_bed.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QMenu>
#include <QSystemTrayIcon>

#include "ui/ui_seams.h"

namespace plumwit::gui_test {
namespace {

WireRequest Split(const std::string& raw) {
  WireRequest request;
  const QByteArray bytes = QByteArray::fromStdString(raw);
  const qsizetype header_end = bytes.indexOf("\r\n\r\n");
  const QByteArray head = header_end < 0 ? bytes : bytes.left(header_end);
  request.body = header_end < 0 ? QByteArray() : bytes.mid(header_end + 4);
  QList<QByteArray> lines = head.split('\n');
  for (QByteArray& line : lines) {
    if (line.endsWith('\r')) line.chop(1);
  }
  if (!lines.isEmpty()) request.request_line = lines.takeFirst();
  request.header_lines = lines;
  return request;
}

std::string HostOf(const test::ScriptedHttpServer& server) {
  return "127.0.0.1:" + std::to_string(server.Port());
}

}  // namespace

QByteArray WireRequest::Header(const char* name) const {
  const QByteArray prefix = QByteArray(name).toLower() + ':';
  for (const QByteArray& line : header_lines) {
    if (line.toLower().startsWith(prefix)) return line.mid(prefix.size()).trimmed();
  }
  return {};
}

test::ScriptedReply Reply(int code, const std::string& reason, const std::string& body) {
  return test::ScriptedReply::SendAndClose(
      "HTTP/1.1 " + std::to_string(code) + " " + reason +
      "\r\nContent-Type: text/xml\r\nContent-Length: " + std::to_string(body.size()) +
      "\r\nConnection: close\r\n\r\n" + body);
}

test::ScriptedReply Ok(const std::string& body) { return Reply(200, "OK", body); }

std::string UserRecord(const std::string& name, const std::string& screen_name,
                       const std::string& location, const std::string& description,
                       const std::string& url) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<user>\n  <id>42</id>\n  <name>" + name +
         "</name>\n  <screen_name>" + screen_name + "</screen_name>\n  <location>" + location +
         "</location>\n  <description>" + description + "</description>\n  <url>" + url +
         "</url>\n  <followers_count>3</followers_count>\n  <friends_count>4</friends_count>\n"
         "  <statuses_count>5</statuses_count>\n</user>\n";
}

std::string EmptyTimeline() {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<statuses type=\"array\">\n</statuses>\n";
}

DialogTestBed::DialogTestBed()
    : server_(std::make_unique<test::ScriptedHttpServer>()),
      fixture_(std::make_unique<test::GuiFixture>(HostOf(*server_))),
      messages(fixture_->messages),
      errors(fixture_->errors),
      links(fixture_->links),
      modal_dialogs(fixture_->modal_dialogs) {
  had_config_dirs_ = qEnvironmentVariableIsSet("XDG_CONFIG_DIRS");
  previous_config_dirs_ = qgetenv("XDG_CONFIG_DIRS");
  // The login start entry must land in the test's folder, never in /etc/xdg.
  qputenv("XDG_CONFIG_DIRS", system_config_folder_.path().toUtf8());
  UiSeams::ModalDialog() = [this](QDialog& dialog) {
    modal_dialogs << dialog.objectName();
    dialog.show();
    if (while_modal) while_modal(dialog);
  };
}

DialogTestBed::~DialogTestBed() {
  fixture_.reset();
  if (had_config_dirs_) {
    qputenv("XDG_CONFIG_DIRS", previous_config_dirs_);
  } else {
    qunsetenv("XDG_CONFIG_DIRS");
  }
}

QAction* DialogTestBed::TrayItem(const char* name) {
  const auto* tray = KIV().findChild<QSystemTrayIcon*>(QStringLiteral("Tray"));
  if (!tray || !tray->contextMenu()) return nullptr;
  return tray->contextMenu()->findChild<QAction*>(QString::fromLatin1(name));
}

void DialogTestBed::SignIn(const std::string& name, const std::string& password) {
  server_->Add(Ok(UserRecord("Ann Example", name, "Paris", "Hello", "http://ann.example/")));
  server_->Add(Ok(EmptyTimeline()));
  fixture_->SignIn(QString::fromStdString(name), QString::fromStdString(password));
}

std::vector<WireRequest> DialogTestBed::RequestsAfter(std::size_t skip) const {
  std::vector<WireRequest> requests;
  const std::vector<test::RecordedRequest> recorded = server_->Requests();
  for (std::size_t i = skip; i < recorded.size(); ++i) requests.push_back(Split(recorded[i].bytes));
  return requests;
}

std::string DialogTestBed::SystemConfigFolder() const {
  return system_config_folder_.path().toStdString();
}

QByteArray ReadFile(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

void WriteFile(const std::string& path, const QByteArray& bytes) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    qFatal("cannot write %s", path.c_str());
  file.write(bytes);
}

}  // namespace plumwit::gui_test
