#include "view_module/timeline_page.h"

#include <QWebEngineHistory>

namespace plumwit {

TimelinePage::TimelinePage(QWebEngineProfile* profile, ExternalLinkPage::LinkHandler open_link,
                           QObject* parent)
    : QWebEnginePage(profile, parent), open_link_(std::move(open_link)) {
  // Every load would add an entry; the mouse's back button or Alt+Left
  // would then bring an old timeline back. Keep only the page shown.
  connect(this, &QWebEnginePage::urlChanged, this, &TimelinePage::ForgetEarlierPages);
  connect(this, &QWebEnginePage::loadFinished, this, &TimelinePage::ForgetEarlierPages);
}

void TimelinePage::ForgetEarlierPages() { history()->clear(); }

void TimelinePage::triggerAction(WebAction action, bool checked) {
  if (action == Back || action == Forward) return;
  QWebEnginePage::triggerAction(action, checked);
}

QWebEnginePage* TimelinePage::createWindow(WebWindowType) {
  return new ExternalLinkPage(profile(), open_link_, this);
}

void TimelinePage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                            const QString&) {}

// A page script must never block the program on a dialog of its own.
bool TimelinePage::javaScriptConfirm(const QUrl&, const QString&) { return false; }
void TimelinePage::javaScriptAlert(const QUrl&, const QString&) {}
bool TimelinePage::javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) {
  return false;
}

}  // namespace plumwit
