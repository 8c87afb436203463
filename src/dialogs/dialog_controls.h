#pragma once

#include <QRect>
#include <QString>

class QFrame;
class QLineEdit;
class QPushButton;
class QWidget;

namespace plumwit {

// Small builders for the controls the dialogs share; each control gets its
// design name as objectName.

// A push button that Enter presses while it has the focus, and never from
// another control.
QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption,
                       const QRect& place, const QString& hint = {});
// The dialog's main button: Enter in any control that does not take Enter
// itself presses it.
void MakeMainButton(QPushButton* button);
QLineEdit* AddEdit(QWidget* parent, const char* name, const QRect& place, const QString& hint = {});
// A bevel showing only its bottom line.
QFrame* AddBevel(QWidget* parent, const char* name, const QRect& place);

}  // namespace plumwit
