#pragma once

#include <QWebEnginePage>

namespace plumwit {

// The timeline's page: script errors stay silent, and links that ask for a
// new window leave the program for the user's web browser.
class TimelinePage : public QWebEnginePage {
  Q_OBJECT

 public:
  TimelinePage(QWebEngineProfile* profile, QObject* parent);

 protected:
  QWebEnginePage* createWindow(WebWindowType type) override;
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                int line, const QString& source) override;
  bool javaScriptConfirm(const QUrl& origin, const QString& message) override;
  void javaScriptAlert(const QUrl& origin, const QString& message) override;
  bool javaScriptPrompt(const QUrl& origin, const QString& message, const QString& fallback,
                        QString* result) override;
};

}  // namespace plumwit
