#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QSize>

namespace plumwit {

// The program's pictures, drawn as SVG and kept in the Qt resources.
class Artwork {
 public:
  // A picture of the main window's 32 by 32 image list, by its index; the
  // window uses 0, 4, 11, 16, 18, 19 and 20. Other indices give no picture.
  // The icons are drawn at the size and scale they are shown at.
  static QIcon ImageListPicture(int index);
  static QPixmap Logo(QSize size, qreal device_pixel_ratio = 1.0);
  static QIcon WindowIcon();
  static QIcon TrayIcon();
  static QIcon SigninPicture();

  // Draws an SVG resource on a transparent picture of `size` (in device
  // independent pixels: the picture has size times the ratio in pixels); with
  // `keep_proportions`, as large as fits without distortion, centred.
  static QPixmap Render(const QString& resource, QSize size, bool keep_proportions = false,
                        qreal device_pixel_ratio = 1.0);
  // An icon drawn from an SVG resource at every size asked for.
  static QIcon SvgIcon(const QString& resource, bool keep_proportions = false,
                       QList<QSize> sizes = {});
};

}  // namespace plumwit
