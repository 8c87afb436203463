#include "main_window/tray_presence.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>

#include "core/build_config.h"
#include "ui/artwork.h"

namespace plumwit {

TrayPresence::TrayPresence(QWidget* window) : QObject(window) {
  TrayMenu = new QMenu(window);
  TrayMenu->setObjectName(QStringLiteral("TrayMenu"));
  ShowTwitterClient1 = AddItem("ShowTwitterClient1", "Show Plumwit Window", false);
  newt = AddItem("newt", "Write new tweet", false);
  RefreshTweets1 = AddItem("RefreshTweets1", "Refresh Tweets", false);
  ClientOptions1 = AddItem("ClientOptions1", "Plumwit Options", true);
  AddSeparator("N1");
  Developerhomepage1 = AddItem("Developerhomepage1", "Visit developer homepage", true);
  witterhomepage1 = AddItem("witterhomepage1", "Visit twitter homepage", true);
  AddSeparator("N3");
  AboutTwitterClient1 = AddItem("AboutTwitterClient1", "About Plumwit", true);
  QuitTwitterClient1 = AddItem("QuitTwitterClient1", "Quit Plumwit", true);

  Tray = new QSystemTrayIcon(Artwork::TrayIcon(), this);
  Tray->setObjectName(QStringLiteral("Tray"));
  // The title when the window is made; the window's caption is never used.
  Tray->setToolTip(QString::fromUtf8(build::kAppTitle));
  Tray->setContextMenu(TrayMenu);
  connect(Tray, &QSystemTrayIcon::activated, this, &TrayPresence::NoteActivation);
}

void TrayPresence::NoteActivation(QSystemTrayIcon::ActivationReason reason) {
  if (reason == QSystemTrayIcon::DoubleClick) {
    last_press_ = QSystemTrayIcon::Unknown;
    emit DoubleClicked();
    return;
  }
  const bool repeated = reason == last_press_ && since_last_press_.isValid() &&
                        since_last_press_.elapsed() <= QApplication::doubleClickInterval();
  if (repeated && (reason == QSystemTrayIcon::MiddleClick || reason == QSystemTrayIcon::Context)) {
    last_press_ = QSystemTrayIcon::Unknown;
    // The first right press opened the menu; the double-click is no choice from it.
    TrayMenu->hide();
    emit DoubleClicked();
    return;
  }
  last_press_ = reason;
  since_last_press_.start();
}

TrayPresence::~TrayPresence() { Tray->hide(); }

void TrayPresence::Add() { Tray->show(); }

QAction* TrayPresence::AddItem(const char* name, const char* caption, bool enabled) {
  QAction* item = TrayMenu->addAction(QString::fromLatin1(caption));
  item->setObjectName(QString::fromLatin1(name));
  item->setEnabled(enabled);
  return item;
}

void TrayPresence::AddSeparator(const char* name) {
  TrayMenu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

}  // namespace plumwit
