#pragma once

#include <QWebEnginePage>

namespace plumwit {

// The page a "_blank" link asks for: it never shows anything, hands the
// first address it is sent to to the desktop's default handler, and goes.
class ExternalLinkPage : public QWebEnginePage {
  Q_OBJECT

 public:
  ExternalLinkPage(QWebEngineProfile* profile, QObject* parent);

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool is_main_frame) override;

 private:
  void HandOver(const QUrl& url);

  bool handed_over_ = false;
};

}  // namespace plumwit
