#pragma once

#include <QObject>

class QAction;
class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace plumwit {

// The notification-area icon `Tray` and its menu `TrayMenu`. The window
// connects the items; this class only holds them.
class TrayPresence : public QObject {
  Q_OBJECT

 public:
  // The menu belongs to `window`, so the items are found among its children.
  explicit TrayPresence(QWidget* window);
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
};

}  // namespace plumwit
