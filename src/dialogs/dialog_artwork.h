#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace plumwit {

// The dialogs' pictures, drawn as SVG and kept in the Qt resources. Each is
// rendered at the size asked for, keeping its proportions, centred, for the
// device pixel ratio given; the button pictures are icons drawn at the size
// and scale they are shown at.
class DialogArtwork {
 public:
  static QPixmap OptionsPicture(QSize size, qreal device_pixel_ratio = 1.0);
  static QPixmap AboutPicture(QSize size, qreal device_pixel_ratio = 1.0);
  static QIcon TweetThisButton();
  static QIcon DonateButton();

 private:
  static QPixmap Render(const QString& resource, QSize size, qreal device_pixel_ratio);
  static QIcon Icon(const QString& resource);
};

}  // namespace plumwit
