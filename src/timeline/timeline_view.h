#pragma once

#include <string>

#include <QString>
#include <QWidget>

class QWebEngineView;

namespace plumwit {

class TimelinePage;

// The timeline view: an embedded web view that shows the page the refresh
// builds. The web engine starts when first needed (or when warmed up after
// the window is on screen), so creating the window costs no engine start.
class TimelineView : public QWidget {
  Q_OBJECT

 public:
  // `program_folder` ends in "/": the page's stylesheet is looked up there.
  TimelineView(const QString& program_folder, QWidget* parent);

  // Hands the page over in memory as a whole new page. Failures are dropped;
  // the view then keeps what it showed.
  void LoadPage(const std::string& html);

  // Starts the web engine now, without loading anything.
  void WarmUp();

  // The web view, or null while the engine has not been started.
  QWebEngineView* Browser() const { return browser_; }

 signals:
  // The last page handed over has been loaded (or failed to).
  void PageLoaded(bool ok);

 private:
  QWebEngineView* EnsureBrowser();
  void ConfigureSettings();
  void SwallowNewWindowKey();

  QString program_folder_;
  QWebEngineView* browser_ = nullptr;
  TimelinePage* page_ = nullptr;
};

}  // namespace plumwit
