#include "ui/artwork.h"

#include <QPainter>
#include <QSvgRenderer>

// The pictures live in a static library: referencing the resource's
// initialiser keeps the linker from dropping them.
static void InitArtworkResources() {
  static const bool initialised = [] {
    Q_INIT_RESOURCE(artwork);
    return true;
  }();
  (void)initialised;
}

namespace plumwit {
namespace {

QString ImageListResource(int index) {
  switch (index) {
    case 0:
      return QStringLiteral(":/artwork/two_people.svg");
    case 4:
      return QStringLiteral(":/artwork/information.svg");
    case 11:
      return QStringLiteral(":/artwork/circling_arrows.svg");
    case 16:
      return QStringLiteral(":/artwork/wrench_screwdriver.svg");
    case 18:
      return QStringLiteral(":/artwork/person_prohibited.svg");
    case 19:
      return QStringLiteral(":/artwork/speech_bubbles.svg");
    case 20:
      return QStringLiteral(":/artwork/ruler_pencil.svg");
    default:
      return {};
  }
}

}  // namespace

QPixmap Artwork::Render(const QString& resource, QSize size, bool keep_proportions) {
  InitArtworkResources();
  QPixmap picture(size);
  picture.fill(Qt::transparent);
  QSvgRenderer renderer(resource);
  QRectF place(QPointF(0, 0), QSizeF(size));
  if (keep_proportions) {
    QSizeF drawn = renderer.defaultSize();
    drawn.scale(size, Qt::KeepAspectRatio);
    place = QRectF((size.width() - drawn.width()) / 2, (size.height() - drawn.height()) / 2,
                   drawn.width(), drawn.height());
  }
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter, place);
  return picture;
}

QIcon Artwork::IconOf(const QString& resource, std::initializer_list<int> sizes) {
  QIcon icon;
  for (int side : sizes) {
    const QPixmap picture = Render(resource, QSize(side, side));
    icon.addPixmap(picture, QIcon::Normal);
    icon.addPixmap(picture, QIcon::Active);
  }
  return icon;
}

QIcon Artwork::ImageListPicture(int index) {
  const QString resource = ImageListResource(index);
  if (resource.isEmpty()) return {};
  return IconOf(resource, {32});
}

QPixmap Artwork::Logo(QSize size) {
  return Render(QStringLiteral(":/artwork/logo_bird.svg"), size);
}

QIcon Artwork::WindowIcon() {
  return IconOf(QStringLiteral(":/artwork/window_icon.svg"), {16, 32, 48, 64});
}

QIcon Artwork::TrayIcon() {
  return IconOf(QStringLiteral(":/artwork/tray_icon.svg"), {16, 32, 48});
}

QIcon Artwork::SigninPicture() { return IconOf(QStringLiteral(":/artwork/signin.svg"), {16}); }

}  // namespace plumwit
