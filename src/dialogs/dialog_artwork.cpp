#include "dialogs/dialog_artwork.h"

#include "ui/artwork.h"

// The pictures live in a static library: referencing the resource's
// initialiser keeps the linker from dropping them.
static void InitDialogArtworkResources() {
  static const bool initialised = [] {
    Q_INIT_RESOURCE(dialog_artwork);
    return true;
  }();
  (void)initialised;
}

namespace plumwit {

QPixmap DialogArtwork::Render(const QString& resource, QSize size, qreal device_pixel_ratio) {
  InitDialogArtworkResources();
  return Artwork::Render(resource, size, true, device_pixel_ratio);
}

QIcon DialogArtwork::Icon(const QString& resource) {
  InitDialogArtworkResources();
  return Artwork::SvgIcon(resource, true);
}

QPixmap DialogArtwork::OptionsPicture(QSize size, qreal device_pixel_ratio) {
  return Render(QStringLiteral(":/artwork/options_picture.svg"), size, device_pixel_ratio);
}

QPixmap DialogArtwork::AboutPicture(QSize size, qreal device_pixel_ratio) {
  return Render(QStringLiteral(":/artwork/about_picture.svg"), size, device_pixel_ratio);
}

QIcon DialogArtwork::TweetThisButton() {
  return Icon(QStringLiteral(":/artwork/tweet_this_button.svg"));
}

QIcon DialogArtwork::DonateButton() { return Icon(QStringLiteral(":/artwork/donate_button.svg")); }

}  // namespace plumwit
