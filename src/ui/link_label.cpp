#include "ui/link_label.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include "ui/skin.h"

namespace plumwit {
namespace {

const QColor kLinkBlue(0, 0, 255);

}  // namespace

LinkLabel::LinkLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent), normal_colour_(kLinkBlue) {
  setCursor(Qt::PointingHandCursor);
  setTextFormat(Qt::PlainText);
  setFocusPolicy(Qt::TabFocus);
  SetColour(normal_colour_);
}

void LinkLabel::KeepColour(const QColor& colour) {
  normal_colour_ = colour;
  hover_colour_ = colour;
  SetColour(colour);
}

void LinkLabel::SetColour(const QColor& colour) {
  QPalette colours = SkinPalette();
  colours.setColor(QPalette::WindowText, colour);
  setPalette(colours);
}

void LinkLabel::enterEvent(QEnterEvent* event) {
  SetColour(hover_colour_.isValid() ? hover_colour_ : SkinPalette().color(QPalette::WindowText));
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

namespace plumwit {

void LinkLabel::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      event->accept();
      if (!event->isAutoRepeat()) emit clicked();
      return;
    default:
      QLabel::keyPressEvent(event);
  }
}

// A label draws no focus of its own; without this, Tab would seem to get lost.
void LinkLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (!hasFocus()) return;
  QPainter painter(this);
  QStyleOptionFocusRect option;
  option.initFrom(this);
  option.backgroundColor = palette().color(QPalette::Window);
  style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

}  // namespace plumwit
