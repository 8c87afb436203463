#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QSystemTrayIcon>

class QAction;
class QMenu;
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

 signals:
  // A double-click on the icon with any button. The notification area
  // reports only the left button's as such; two presses of the middle or the
  // right button within the double-click time count too.
  void DoubleClicked();

 private:
  void NoteActivation(QSystemTrayIcon::ActivationReason reason);

  QAction* AddItem(const char* name, const char* caption, bool enabled);
  void AddSeparator(const char* name);

  QSystemTrayIcon::ActivationReason last_press_ = QSystemTrayIcon::Unknown;
  QElapsedTimer since_last_press_;
};

}  // namespace plumwit
