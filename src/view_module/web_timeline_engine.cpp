#include "view_module/web_timeline_engine.h"

#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

#include "view_module/timeline_page.h"
#include "view_module/timeline_page_scheme.h"

namespace plumwit {

WebTimelineEngine::WebTimelineEngine(QWidget* parent, TimelineEngineHooks hooks)
    : QWebEngineView(parent), hooks_(std::move(hooks)) {
  setObjectName(QStringLiteral("ClientTweetsBrowser"));
  QWebEngineProfile* profile = QWebEngineProfile::defaultProfile();
  number_ = TimelinePageScheme::Instance().NewView();
  page_ = new TimelinePage(profile, hooks_.open_link, this);
  setPage(page_);
  setContextMenuPolicy(Qt::NoContextMenu);
  ConfigureSettings();
  connect(page_, &QWebEnginePage::loadingChanged, this, &WebTimelineEngine::ReportLoad);
}

WebTimelineEngine::~WebTimelineEngine() { TimelinePageScheme::Instance().Forget(number_); }

void WebTimelineEngine::ConfigureSettings() {
  QWebEngineSettings* settings = page_->settings();
  settings->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
  settings->setAttribute(QWebEngineSettings::AutoLoadImages, true);
  // The page comes from the program; the authors' pictures do not.
  settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
  settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
  settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
  settings->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
  settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
}

// Handed over as data, a page must fit a data: address (2 MB, the page
// percent-encoded: up to three bytes for each of its own). That way is the
// quicker one, so every page that surely fits takes it; larger ones are
// served through the scheme. Both get an address of the scheme, so a page
// resolves its relative links alike whichever way it came.
void WebTimelineEngine::LoadPage(const QByteArray& page) {
  constexpr qsizetype kLargestDataAddress = 2 * 1024 * 1024 - 1024;
  offered_ = TimelinePageScheme::Instance().Offer(number_, page);
  if (page.size() * 3 < kLargestDataAddress) {
    page_->setHtml(QString::fromUtf8(page), offered_);
  } else {
    page_->load(offered_);
  }
}

// An empty page of the scheme's own, not reported: the page's process then
// runs when the first timeline comes.
void WebTimelineEngine::WarmUp() {
  if (offered_.isEmpty()) page_->load(TimelinePageScheme::Instance().Offer(number_, QByteArray()));
}

// Only the end of the newest page's load counts; a load it cut short does not.
void WebTimelineEngine::ReportLoad(const QWebEngineLoadingInfo& info) {
  if (info.url() != offered_) return;
  const bool ok = info.status() == QWebEngineLoadingInfo::LoadSucceededStatus;
  if (!ok && info.status() != QWebEngineLoadingInfo::LoadFailedStatus) return;
  if (hooks_.page_loaded) hooks_.page_loaded(ok);
}

void WebTimelineEngine::RunJavaScript(const QString& script,
                                      std::function<void(const QVariant& result)> done) {
  page_->runJavaScript(script, [done = std::move(done)](const QVariant& result) {
    if (done) done(result);
  });
}

}  // namespace plumwit
