#include "ui/wrapping_push_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace plumwit {

void WrappingPushButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  const QString caption = option.text;
  // The style draws the frame; the caption is drawn here, wrapped.
  option.text.clear();
  painter.drawControl(QStyle::CE_PushButton, option);
  const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
  style()->drawItemText(&painter, area, Qt::AlignCenter | Qt::TextWordWrap, option.palette,
                        isEnabled(), caption, QPalette::ButtonText);
}

}  // namespace plumwit
