#pragma once

#include <functional>

#include <QWebEnginePage>

namespace plumwit {

// The page a "_blank" link asks for: it never shows anything, hands the
// first address it is sent to to `open_link`, and goes.
class ExternalLinkPage : public QWebEnginePage {
  Q_OBJECT

 public:
  using LinkHandler = std::function<void(const QString& address)>;

  ExternalLinkPage(QWebEngineProfile* profile, LinkHandler open_link, QObject* parent);

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool is_main_frame) override;

 private:
  void HandOver(const QUrl& url);

  LinkHandler open_link_;
  bool handed_over_ = false;
};

}  // namespace plumwit
