#pragma once

#include <functional>

#include <QLabel>

namespace plumwit {

// A label showing a picture drawn from SVG for the screen it is on: drawn
// anew whenever its device pixel ratio is not the one it was drawn for (a
// scale factor, a move to another screen).
class SvgPicture : public QLabel {
  Q_OBJECT

 public:
  // `draw` gives the picture for a device pixel ratio.
  using Drawing = std::function<QPixmap(qreal device_pixel_ratio)>;
  SvgPicture(Drawing draw, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void DrawForScreen();

  Drawing draw_;
  qreal drawn_for_ = 0;
};

}  // namespace plumwit
