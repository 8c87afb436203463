#include "ui/picture_tool_button.h"

#include "ui/artwork.h"

namespace plumwit {

PictureToolButton::PictureToolButton(int image_index, QWidget* parent) : QToolButton(parent) {
  setAutoRaise(true);
  setIconSize(QSize(32, 32));
  // Reached with Tab, pressed with Space; a click leaves the focus where it is.
  setFocusPolicy(Qt::TabFocus);
  SetImageIndex(image_index);
}

void PictureToolButton::SetImageIndex(int index) {
  if (index == image_index_) return;
  image_index_ = index;
  setIcon(Artwork::ImageListPicture(index));
}

}  // namespace plumwit
