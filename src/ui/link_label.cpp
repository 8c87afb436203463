#include "ui/link_label.h"

#include <QMouseEvent>
#include <QPalette>

namespace plumwit {
namespace {

const QColor kLinkBlue(0, 0, 255);

}  // namespace

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setCursor(Qt::PointingHandCursor);
  setTextFormat(Qt::PlainText);
  SetColour(kLinkBlue);
}

void LinkLabel::SetColour(const QColor& colour) {
  QPalette colours = palette();
  colours.setColor(QPalette::WindowText, colour);
  setPalette(colours);
}

void LinkLabel::enterEvent(QEnterEvent* event) {
  SetColour(QPalette().color(QPalette::WindowText));
  QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent* event) {
  SetColour(kLinkBlue);
  QLabel::leaveEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
  }
  QLabel::mouseReleaseEvent(event);
}

}  // namespace plumwit
