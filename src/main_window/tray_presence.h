#pragma once

#include <memory>

#include <QObject>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace plumwit {

// The notification-area icon `Tray` and its menu `TrayMenu`. The window
// connects the items; this class only holds them.
class TrayPresence : public QObject {
  Q_OBJECT

 public:
  explicit TrayPresence(QObject* parent);
  ~TrayPresence() override;

  // Adds the icon to the notification area (when there is one).
  void Add();

  QSystemTrayIcon* Tray;
  QMenu* TrayMenu;
  QAction* ShowTwitterClient1;
  QAction* newt;
  QAction* RefreshTweets1;
  QAction* ClientOptions1;
  QAction* Developerhomepage1;
  QAction* witterhomepage1;
  QAction* AboutTwitterClient1;
  QAction* QuitTwitterClient1;

 private:
  QAction* AddItem(const char* name, const char* caption, bool enabled);
  void AddSeparator(const char* name);

  std::unique_ptr<QMenu> menu_;
};

}  // namespace plumwit
