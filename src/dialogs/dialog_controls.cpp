#include "dialogs/dialog_controls.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

#include "ui/hints.h"

namespace plumwit {

QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption,
                       const QRect& place, const QString& hint) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(place);
  button->setAutoDefault(true);
  button->setDefault(false);
  if (!hint.isEmpty()) SetHint(button, hint);
  return button;
}

void MakeMainButton(QPushButton* button) { button->setDefault(true); }

QLineEdit* AddEdit(QWidget* parent, const char* name, const QRect& place, const QString& hint) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setGeometry(place);
  if (!hint.isEmpty()) SetHint(edit, hint);
  return edit;
}

QFrame* AddBevel(QWidget* parent, const char* name, const QRect& place) {
  auto* bevel = new QFrame(parent);
  bevel->setObjectName(QString::fromLatin1(name));
  bevel->setGeometry(place);
  bevel->setProperty("bevel", true);
  return bevel;
}

}  // namespace plumwit
