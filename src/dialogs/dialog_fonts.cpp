#include "dialogs/dialog_fonts.h"

#include <QFontDatabase>
#include <QWidget>

namespace plumwit {
namespace {

const QString kFallbackFamily = QStringLiteral("DejaVu Sans");

// Tahoma is narrow and Arial Black heavy: the stand-in keeps the width or the
// weight of the designed face.
void UseStandIn(QFont& font, const QString& family) {
  font.setFamily(kFallbackFamily);
  if (family == QLatin1String("Arial Black")) {
    font.setWeight(QFont::Black);
  } else {
    font.setStretch(QFont::Condensed);
  }
}

}  // namespace

QFont DesignFont(const char* family, int size, FontUnit unit, bool bold) {
  const QString name = QString::fromLatin1(family);
  QFont font;
  if (QFontDatabase::hasFamily(name)) {
    font.setFamily(name);
  } else {
    UseStandIn(font, name);
  }
  if (unit == FontUnit::kPixels) {
    font.setPixelSize(size);
  } else {
    font.setPointSize(size);
  }
  if (bold) font.setBold(true);
  return font;
}

void SpreadWindowFont(QWidget& window) {
  for (QWidget* control : window.findChildren<QWidget*>()) {
    if (!control->testAttribute(Qt::WA_SetFont)) control->setFont(window.font());
  }
}

}  // namespace plumwit
