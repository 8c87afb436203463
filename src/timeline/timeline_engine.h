#pragma once

#include <functional>

#include <QByteArray>
#include <QString>
#include <QVariant>

class QWebEngineView;
class QWidget;

namespace plumwit {

// What the web view reports back to the program, so the view module needs
// nothing of the program's own code.
struct TimelineEngineHooks {
  // The page last handed over has finished loading (or failed to).
  std::function<void(bool ok)> page_loaded;
  // A link asked for a new window: its address goes to the desktop.
  std::function<void(const QString& address)> open_link;
};

// The web view behind the timeline, created by the view module. The program
// itself never links the web engine: it talks to the view through this.
class TimelineEngine {
 public:
  virtual ~TimelineEngine() = default;

  // The view's widget, a child of the parent it was created with; the
  // parent owns it (and with it this object).
  virtual QWidget* Widget() = 0;
  // Shows `page` (UTF-8 HTML) as a whole new page, replacing the old one.
  virtual void LoadPage(const QByteArray& page) = 0;
  // Starts the page's own process ahead of the first page, showing nothing.
  virtual void WarmUp() = 0;
  // Runs `script` in the page; `done` gets its result.
  virtual void RunJavaScript(const QString& script,
                             std::function<void(const QVariant& result)> done) = 0;
  // The web engine's own view, for callers that link the engine themselves.
  virtual QWebEngineView* Browser() = 0;
};

// The view module's one entry point, looked up by this name.
using CreateTimelineEngine = TimelineEngine* (*)(QWidget* parent, TimelineEngineHooks hooks);
inline constexpr char kCreateTimelineEngineSymbol[] = "plumwit_create_timeline_engine";

}  // namespace plumwit
