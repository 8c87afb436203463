#include "timeline/timeline_view.h"

#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include "timeline/texture_ready_window.h"
#include "timeline/timeline_engine.h"
#include "ui/after_first_paint.h"
#include "ui/link_opener.h"
#include "ui/user_messages.h"

namespace plumwit {
namespace {

const char kModuleProblem[] =
    "The timeline cannot be shown: Plumwit's view module \"%1\" could not be loaded.\r\n%2";

}  // namespace

TimelineView::TimelineView(const QString&, QWidget* parent, const QString& module_file)
    : QWidget(parent), module_(module_file) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  SwallowNewWindowKey();
  // The web view draws through textures, which the window must be ready for
  // before it is on screen.
  texture_ready_ = new TextureReadyWindow(window());
  if (parent) {
    AfterFirstPaint(parent->window(), this, [this] {
      window_on_screen_ = true;
      WindowOnScreen();
    });
  }
}

void TimelineView::SwallowNewWindowKey() {
  auto* new_window_key = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_N), this);
  new_window_key->setContext(Qt::WidgetWithChildrenShortcut);
}

void TimelineView::WindowOnScreen() {
  const QString problem = module_.QuickProblem();
  if (!problem.isEmpty()) {
    module_failed_ = true;
    ReportModuleProblem(problem);
    return;
  }
  if (start_wanted_) StartEngineSoon();
}

void TimelineView::StartEngineSoon() {
  start_wanted_ = true;
  if (engine_ || module_failed_ || start_queued_ || !window_on_screen_) return;
  start_queued_ = true;
  QTimer::singleShot(0, this, &TimelineView::WarmUp);
}

void TimelineView::WarmUp() {
  const bool had_engine = engine_ != nullptr;
  TimelineEngine* engine = EnsureEngine();
  // Starting the page's process now spares the first timeline the wait.
  if (engine && !had_engine && !waiting_page_) engine->WarmUp();
}

TimelineEngine* TimelineView::EnsureEngine() {
  if (engine_ || module_failed_) return engine_;
  CreateTimelineEngine create = module_.Factory();
  if (!create) {
    module_failed_ = true;
    ReportModuleProblem(module_.Problem());
    return nullptr;
  }
  TimelineEngineHooks hooks;
  hooks.page_loaded = [this](bool ok) { emit PageLoaded(ok); };
  hooks.open_link = [](const QString& address) { OpenLink(address); };
  texture_ready_->PrepareForTextureChild();
  engine_ = create(this, std::move(hooks));
  layout()->addWidget(engine_->Widget());
  if (waiting_page_) {
    engine_->LoadPage(*waiting_page_);
    waiting_page_.reset();
  }
  return engine_;
}

// Said once: the rest of the window works without the view.
void TimelineView::ReportModuleProblem(const QString& problem) {
  if (problem_reported_) return;
  problem_reported_ = true;
  ShowDefaultError(QString::fromUtf8(kModuleProblem).arg(ViewModule::FileName(), problem));
}

void TimelineView::LoadPage(const std::string& html) {
  QByteArray page(html.data(), static_cast<qsizetype>(html.size()));
  if (engine_) {
    engine_->LoadPage(page);
    return;
  }
  waiting_page_ = std::move(page);
  EnsureEngine();
}

void TimelineView::RunJavaScript(const QString& script,
                                 std::function<void(const QVariant& result)> done) {
  if (engine_) engine_->RunJavaScript(script, std::move(done));
}

QWebEngineView* TimelineView::Browser() const { return engine_ ? engine_->Browser() : nullptr; }

}  // namespace plumwit
