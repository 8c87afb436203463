#include "ui/svg_picture.h"

namespace plumwit {

SvgPicture::SvgPicture(Drawing draw, QWidget* parent) : QLabel(parent), draw_(std::move(draw)) {
  DrawForScreen();
}

void SvgPicture::DrawForScreen() {
  const qreal ratio = devicePixelRatioF();
  if (ratio == drawn_for_) return;
  drawn_for_ = ratio;
  setPixmap(draw_(ratio));
}

void SvgPicture::paintEvent(QPaintEvent* event) {
  DrawForScreen();
  QLabel::paintEvent(event);
}

}  // namespace plumwit
