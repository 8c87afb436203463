#include "ui/form_label.h"

#include <QPalette>

#include "ui/skin.h"

namespace plumwit {

FormLabel::FormLabel(const char* name, const QString& text, QPoint at, QWidget* parent)
    : QLabel(text, parent) {
  Style(name);
  adjustSize();
  move(at);
}

FormLabel::FormLabel(const char* name, const QString& text, const QRect& place, QWidget* parent)
    : QLabel(text, parent) {
  Style(name);
  setGeometry(place);
}

void FormLabel::Style(const char* name) {
  setObjectName(QString::fromLatin1(name));
  setTextFormat(Qt::PlainText);
  QPalette colours = SkinPalette();
  colours.setColor(QPalette::WindowText, Colour());
  setPalette(colours);
}

}  // namespace plumwit
