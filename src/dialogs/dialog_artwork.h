#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

namespace plumwit {

// The dialogs' pictures, drawn as SVG and kept in the Qt resources. Each is
// rendered at the size asked for, keeping its proportions, centred.
class DialogArtwork {
 public:
  static QPixmap OptionsPicture(QSize size);
  static QPixmap AboutPicture(QSize size);
  static QPixmap TweetThisButton(QSize size);
  static QPixmap DonateButton(QSize size);

 private:
  static QPixmap Render(const QString& resource, QSize size);
};

}  // namespace plumwit
