#include "timeline/external_link_page.h"

#include "ui/link_opener.h"

namespace plumwit {

ExternalLinkPage::ExternalLinkPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {
  // Some navigations only announce themselves through the address change.
  connect(this, &QWebEnginePage::urlChanged, this, &ExternalLinkPage::HandOver);
}

bool ExternalLinkPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool) {
  HandOver(url);
  return false;
}

void ExternalLinkPage::HandOver(const QUrl& url) {
  if (handed_over_ || url.isEmpty()) return;
  handed_over_ = true;
  OpenLink(url.toString());
  deleteLater();
}

}  // namespace plumwit
