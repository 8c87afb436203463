#include "timeline/timeline_view.h"

#include <QShortcut>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "timeline/timeline_page.h"

namespace plumwit {
namespace {

// setHtml() travels as a data: URL, which the engine caps at 2 MB.
constexpr qsizetype kLargestPage = 2 * 1024 * 1024 - 1024;

}  // namespace

TimelineView::TimelineView(const QString& program_folder, QWidget* parent)
    : QWidget(parent), program_folder_(program_folder) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  SwallowNewWindowKey();
}

void TimelineView::SwallowNewWindowKey() {
  auto* new_window_key = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_N), this);
  new_window_key->setContext(Qt::WidgetWithChildrenShortcut);
}

QWebEngineView* TimelineView::EnsureBrowser() {
  if (browser_) return browser_;
  browser_ = new QWebEngineView(this);
  browser_->setObjectName(QStringLiteral("ClientTweetsBrowser"));
  page_ = new TimelinePage(QWebEngineProfile::defaultProfile(), browser_);
  browser_->setPage(page_);
  browser_->setContextMenuPolicy(Qt::NoContextMenu);
  ConfigureSettings();
  connect(page_, &QWebEnginePage::loadFinished, this, &TimelineView::PageLoaded);
  layout()->addWidget(browser_);
  return browser_;
}

void TimelineView::ConfigureSettings() {
  QWebEngineSettings* settings = page_->settings();
  settings->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
  settings->setAttribute(QWebEngineSettings::AutoLoadImages, true);
  // The page comes from the program folder; the authors' pictures do not.
  settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
  settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
  settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
  settings->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
  settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
}

void TimelineView::WarmUp() { EnsureBrowser(); }

void TimelineView::LoadPage(const std::string& html) {
  const QString page = QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size()));
  if (page.toUtf8().size() > kLargestPage) return;
  EnsureBrowser()->setHtml(page, QUrl::fromLocalFile(program_folder_));
}

}  // namespace plumwit
