#include "timeline/timeline_page.h"

#include "timeline/external_link_page.h"

namespace plumwit {

TimelinePage::TimelinePage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {}

QWebEnginePage* TimelinePage::createWindow(WebWindowType) {
  return new ExternalLinkPage(profile(), this);
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
