#include "ui/link_label.h"

#include <QMouseEvent>
#include <QPalette>

namespace plumwit {
namespace {

const QColor kLinkBlue(0, 0, 255);

}  // namespace

LinkLabel::LinkLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent), normal_colour_(kLinkBlue) {
  setCursor(Qt::PointingHandCursor);
  setTextFormat(Qt::PlainText);
  SetColour(normal_colour_);
}

void LinkLabel::KeepColour(const QColor& colour) {
  normal_colour_ = colour;
  hover_colour_ = colour;
  SetColour(colour);
}

void LinkLabel::SetColour(const QColor& colour) {
  QPalette colours = palette();
  colours.setColor(QPalette::WindowText, colour);
  setPalette(colours);
}

void LinkLabel::enterEvent(QEnterEvent* event) {
  SetColour(hover_colour_.isValid() ? hover_colour_ : QPalette().color(QPalette::WindowText));
  QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent* event) {
  SetColour(normal_colour_);
  QLabel::leaveEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
  }
  QLabel::mouseReleaseEvent(event);
}

}  // namespace plumwit
