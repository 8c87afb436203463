#pragma once

#include <QObject>

class QDialog;
class QEvent;
class QWidget;

namespace plumwit {

// Puts the keyboard focus on a dialog's first input each time the dialog is
// opened. A dialog is hidden, not destroyed, when it closes, and Qt would
// otherwise hand the focus back to whatever had it last: a button pressed
// before the close, so that the next Space or Enter presses it again.
// When the first input is disabled, the focus goes to the next one in the
// Tab order that can take it.
class OpeningFocus : public QObject {
  Q_OBJECT

 public:
  // Owned by `dialog`; `first_input` is one of its controls.
  static void Install(QDialog& dialog, QWidget& first_input);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  OpeningFocus(QDialog& dialog, QWidget& first_input);

  QWidget* FirstFocusable() const;
  bool CanTakeFocus(const QWidget& widget) const;

  QDialog& dialog_;
  QWidget& first_input_;
};

}  // namespace plumwit
