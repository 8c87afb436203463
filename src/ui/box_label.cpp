#include "ui/box_label.h"

#include <QLabel>

namespace plumwit {

void LabelBox(QLabel* label, QWidget* box) {
  label->setBuddy(box);
  QString name = label->text().trimmed();
  if (name.endsWith(QLatin1Char(':'))) name.chop(1);
  box->setAccessibleName(name.trimmed());
}

}  // namespace plumwit
