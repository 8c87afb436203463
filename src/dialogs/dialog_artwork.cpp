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

QPixmap DialogArtwork::Render(const QString& resource, QSize size) {
  InitDialogArtworkResources();
  return Artwork::Render(resource, size, true);
}

QPixmap DialogArtwork::OptionsPicture(QSize size) {
  return Render(QStringLiteral(":/artwork/options_picture.svg"), size);
}

QPixmap DialogArtwork::AboutPicture(QSize size) {
  return Render(QStringLiteral(":/artwork/about_picture.svg"), size);
}

QPixmap DialogArtwork::TweetThisButton(QSize size) {
  return Render(QStringLiteral(":/artwork/tweet_this_button.svg"), size);
}

QPixmap DialogArtwork::DonateButton(QSize size) {
  return Render(QStringLiteral(":/artwork/donate_button.svg"), size);
}

}  // namespace plumwit
