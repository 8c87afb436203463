#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace plumwit {

// The program's pictures, drawn as SVG and kept in the Qt resources.
class Artwork {
 public:
  // A picture of the main window's 32 by 32 image list, by its index; the
  // window uses 0, 4, 11, 16, 18, 19 and 20. Other indices give no picture.
  static QIcon ImageListPicture(int index);
  static QPixmap Logo(QSize size);
  static QIcon WindowIcon();
  static QIcon TrayIcon();
  static QIcon SigninPicture();

  // Draws an SVG resource on a transparent picture of `size`; with
  // `keep_proportions`, as large as fits without distortion, centred.
  static QPixmap Render(const QString& resource, QSize size, bool keep_proportions = false);

 private:
  static QIcon IconOf(const QString& resource, std::initializer_list<int> sizes);
};

}  // namespace plumwit
