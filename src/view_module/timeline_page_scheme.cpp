#include "view_module/timeline_page_scheme.h"

#include <QBuffer>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace plumwit {
namespace {

constexpr char kSchemeName[] = "plumwit-page";

// The view's number from an address "plumwit-page:/timeline/<view>/<offer>".
quint64 ViewOf(const QUrl& url) {
  const QStringList parts = url.path().split(QLatin1Char('/'), Qt::SkipEmptyParts);
  return parts.size() == 3 ? parts[1].toULongLong() : 0;
}

}  // namespace

void TimelinePageScheme::Register() {
  if (QWebEngineUrlScheme::schemeByName(kSchemeName).name() == kSchemeName) return;
  QWebEngineUrlScheme scheme(kSchemeName);
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
  // The page links its stylesheet by a file address in the program's folder.
  scheme.setFlags(QWebEngineUrlScheme::LocalAccessAllowed);
  QWebEngineUrlScheme::registerScheme(scheme);
}

TimelinePageScheme& TimelinePageScheme::Instance() {
  QWebEngineProfile* profile = QWebEngineProfile::defaultProfile();
  static TimelinePageScheme* handler = new TimelinePageScheme(profile);
  return *handler;
}

TimelinePageScheme::TimelinePageScheme(QObject* parent) : QWebEngineUrlSchemeHandler(parent) {
  QWebEngineProfile::defaultProfile()->installUrlSchemeHandler(kSchemeName, this);
}

QUrl TimelinePageScheme::Offer(quint64 view, const QByteArray& page) {
  pages_[view] = page;
  return QUrl(QStringLiteral("%1:/timeline/%2/%3")
                  .arg(QString::fromLatin1(kSchemeName))
                  .arg(view)
                  .arg(++offers_));
}

void TimelinePageScheme::requestStarted(QWebEngineUrlRequestJob* job) {
  const auto page = pages_.find(ViewOf(job->requestUrl()));
  auto* body = new QBuffer(job);
  if (page != pages_.end()) body->setData(page->second);
  body->open(QIODevice::ReadOnly);
  // The page's own declaration says iso-8859-1, but its text is UTF-8; the
  // reply's type decides.
  job->reply(QByteArrayLiteral("text/html;charset=utf-8"), body);
}

}  // namespace plumwit
