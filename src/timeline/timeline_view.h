#pragma once

#include <functional>
#include <optional>
#include <string>

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QWidget>

#include "timeline/view_module.h"

class QWebEngineView;

namespace plumwit {

class TextureReadyWindow;
class TimelineEngine;

// The timeline view: shows the page the refresh builds in a web view that
// comes from the view module. The window shows without it; the engine starts
// when a sign-in is on its way (StartEngineSoon), or at the latest with the
// first page. A page handed over before then is kept and shown as soon as
// the web view exists.
class TimelineView : public QWidget {
  Q_OBJECT

 public:
  // `program_folder` ends in "/" (the page itself names its stylesheet's
  // address). `module_file` empty: the module is looked for beside the
  // running program.
  TimelineView(const QString& program_folder, QWidget* parent, const QString& module_file = {});

  // Hands the page over as a whole new page. Failures are dropped; the view
  // then keeps what it showed.
  void LoadPage(const std::string& html);

  // Starts the web engine now, without loading anything.
  void WarmUp();
  // Starts the web engine once the window is on screen and the event loop
  // is idle, so a keystroke or the first paint never waits for it.
  void StartEngineSoon();
  bool EngineStarted() const { return engine_ != nullptr; }

  // Runs `script` in the page shown; `done` gets its result. Nothing runs
  // while the engine has not started.
  void RunJavaScript(const QString& script, std::function<void(const QVariant& result)> done);

  // The web view, or null while the engine has not been started.
  QWebEngineView* Browser() const;

 signals:
  // The last page handed over has been loaded (or failed to).
  void PageLoaded(bool ok);

 private:
  TimelineEngine* EnsureEngine();
  void SwallowNewWindowKey();
  void WindowOnScreen();
  void ReportModuleProblem(const QString& problem);

  ViewModule module_;
  TextureReadyWindow* texture_ready_ = nullptr;
  TimelineEngine* engine_ = nullptr;
  std::optional<QByteArray> waiting_page_;
  bool window_on_screen_ = false;
  bool start_wanted_ = false;
  bool start_queued_ = false;
  bool module_failed_ = false;
  bool problem_reported_ = false;
};

}  // namespace plumwit
