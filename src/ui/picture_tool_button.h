#pragma once

#include <QToolButton>

namespace plumwit {

// A flat tool-bar button whose picture comes from the image list by index;
// the index stays readable, since the main window keeps state in it.
class PictureToolButton : public QToolButton {
  Q_OBJECT
  Q_PROPERTY(int imageIndex READ ImageIndex WRITE SetImageIndex)

 public:
  PictureToolButton(int image_index, QWidget* parent);

  int ImageIndex() const { return image_index_; }
  void SetImageIndex(int index);

 private:
  int image_index_ = -1;
};

}  // namespace plumwit
