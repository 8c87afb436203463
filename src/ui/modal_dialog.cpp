#include "ui/modal_dialog.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

#include "ui/ui_seams.h"

namespace plumwit {
namespace {

void CentreOnDesktop(QDialog& dialog) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect frame = dialog.frameGeometry();
  frame.moveCenter(screen->geometry().center());
  dialog.move(frame.topLeft());
}

}  // namespace

void ShowModal(QDialog& dialog) {
  if (const auto& hook = UiSeams::ModalDialog()) return hook(dialog);
  CentreOnDesktop(dialog);
  dialog.exec();
}

}  // namespace plumwit
