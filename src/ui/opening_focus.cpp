#include "ui/opening_focus.h"

#include <QDialog>
#include <QEvent>
#include <QWidget>

namespace plumwit {

void OpeningFocus::Install(QDialog& dialog, QWidget& first_input) {
  dialog.installEventFilter(new OpeningFocus(dialog, first_input));
}

OpeningFocus::OpeningFocus(QDialog& dialog, QWidget& first_input)
    : QObject(&dialog), dialog_(dialog), first_input_(first_input) {}

// A show the window system makes (a restore from the task bar) is no new
// opening: the user carries on where they were.
bool OpeningFocus::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &dialog_ && event->type() == QEvent::Show && !event->spontaneous()) {
    if (QWidget* target = FirstFocusable()) target->setFocus(Qt::OtherFocusReason);
  }
  return QObject::eventFilter(watched, event);
}

QWidget* OpeningFocus::FirstFocusable() const {
  QWidget* candidate = &first_input_;
  do {
    if (CanTakeFocus(*candidate)) return candidate;
    candidate = candidate->nextInFocusChain();
  } while (candidate && candidate != &first_input_);
  return nullptr;
}

bool OpeningFocus::CanTakeFocus(const QWidget& widget) const {
  return widget.window() == &dialog_ && &widget != &dialog_ && widget.isEnabled() &&
         widget.isVisibleTo(&dialog_) && (widget.focusPolicy() & Qt::TabFocus);
}

}  // namespace plumwit
