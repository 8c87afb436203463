#pragma once

#include <map>

#include <QByteArray>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

namespace plumwit {

// Serves timeline pages to the web view from memory. Pages handed over as
// data (setHtml) are capped at 2 MB; a page fetched through an address of
// its own has no limit. One handler serves every view of the process; each
// view has its own number and only its newest page is kept.
class TimelinePageScheme : public QWebEngineUrlSchemeHandler {
  Q_OBJECT

 public:
  // Must run before the web engine's first profile exists.
  static void Register();
  // The handler, installed on the default profile at first use.
  static TimelinePageScheme& Instance();

  // A number for a new view.
  quint64 NewView() { return ++views_; }
  // Keeps `page` as the view's newest and returns a fresh address to load
  // it from, so every load is a navigation of its own.
  QUrl Offer(quint64 view, const QByteArray& page);
  void Forget(quint64 view) { pages_.erase(view); }

  void requestStarted(QWebEngineUrlRequestJob* job) override;

 private:
  explicit TimelinePageScheme(QObject* parent);

  std::map<quint64, QByteArray> pages_;
  quint64 views_ = 0;
  quint64 offers_ = 0;
};

}  // namespace plumwit
