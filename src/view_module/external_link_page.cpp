#include "view_module/external_link_page.h"

namespace plumwit {

ExternalLinkPage::ExternalLinkPage(QWebEngineProfile* profile, LinkHandler open_link,
                                   QObject* parent)
    : QWebEnginePage(profile, parent), open_link_(std::move(open_link)) {
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
  if (open_link_) open_link_(url.toString());
  deleteLater();
}

}  // namespace plumwit
