#pragma once

#include <QWebEnginePage>

#include "view_module/external_link_page.h"

namespace plumwit {

// The timeline's page: script errors stay silent, links that ask for a new
// window leave the program through `open_link`, and there is no going back
// or forward: each page replaces the last.
class TimelinePage : public QWebEnginePage {
  Q_OBJECT

 public:
  TimelinePage(QWebEngineProfile* profile, ExternalLinkPage::LinkHandler open_link,
               QObject* parent);

  void triggerAction(WebAction action, bool checked = false) override;

 protected:
  QWebEnginePage* createWindow(WebWindowType type) override;
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                int line, const QString& source) override;
  bool javaScriptConfirm(const QUrl& origin, const QString& message) override;
  void javaScriptAlert(const QUrl& origin, const QString& message) override;
  bool javaScriptPrompt(const QUrl& origin, const QString& message, const QString& fallback,
                        QString* result) override;

 private:
  void ForgetEarlierPages();

  ExternalLinkPage::LinkHandler open_link_;
};

}  // namespace plumwit
