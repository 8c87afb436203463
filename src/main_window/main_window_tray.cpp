// Minimising to the notification area and coming back from it.
#include <QEvent>
#include <QSystemTrayIcon>
#include <QTimer>

#include "main_window/main_window.h"
#include "main_window/tray_presence.h"
#include "ui/exception_guard.h"

namespace plumwit {

void TKIV::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange) return;
  if (isMinimized() && !application_minimised_) {
    application_minimised_ = true;
    RunGuarded([this] { EventsMinimize(); });
    // Without a notification area the taskbar entry is the only way back.
    if (QSystemTrayIcon::isSystemTrayAvailable()) QTimer::singleShot(0, this, &QWidget::hide);
  } else if (!isMinimized() && application_minimised_) {
    application_minimised_ = false;
    RunGuarded([this] { EventsRestore(); });
  }
}

void TKIV::EventsMinimize() { tray_->ShowTwitterClient1->setEnabled(true); }

void TKIV::EventsRestore() { tray_->ShowTwitterClient1->setEnabled(false); }

void TKIV::ShowTwitterClient1Click() {
  if (application_minimised_) RestoreApplication();
}

void TKIV::TrayDoubleClick() {
  if (application_minimised_ || !isVisible()) RestoreApplication();
}

void TKIV::RestoreApplication() {
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
  // The state change normally reports the restore; make sure it happened once.
  if (application_minimised_) {
    application_minimised_ = false;
    EventsRestore();
  }
}

}  // namespace plumwit
