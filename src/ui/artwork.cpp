#include "ui/artwork.h"

#include <QPainter>
#include <QSvgRenderer>

#include "ui/svg_icon_engine.h"

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

QList<QSize> Squares(std::initializer_list<int> sides) {
  QList<QSize> sizes;
  for (int side : sides) sizes.append(QSize(side, side));
  return sizes;
}

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

QPixmap Artwork::Render(const QString& resource, QSize size, bool keep_proportions,
                        qreal device_pixel_ratio) {
  InitArtworkResources();
  QPixmap picture((QSizeF(size) * device_pixel_ratio).toSize());
  picture.fill(Qt::transparent);
  QSvgRenderer renderer(resource);
  QRectF place(QPointF(0, 0), QSizeF(size));
  if (keep_proportions) {
    QSizeF drawn = renderer.defaultSize();
    drawn.scale(size, Qt::KeepAspectRatio);
    place = QRectF((size.width() - drawn.width()) / 2, (size.height() - drawn.height()) / 2,
                   drawn.width(), drawn.height());
  }
  {
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(device_pixel_ratio, device_pixel_ratio);
    renderer.render(&painter, place);
  }
  picture.setDevicePixelRatio(device_pixel_ratio);
  return picture;
}

QIcon Artwork::SvgIcon(const QString& resource, bool keep_proportions, QList<QSize> sizes) {
  InitArtworkResources();
  return QIcon(new SvgIconEngine(resource, keep_proportions, std::move(sizes)));
}

QIcon Artwork::ImageListPicture(int index) {
  const QString resource = ImageListResource(index);
  if (resource.isEmpty()) return {};
  return SvgIcon(resource, false, Squares({32}));
}

QPixmap Artwork::Logo(QSize size, qreal device_pixel_ratio) {
  return Render(QStringLiteral(":/artwork/logo_bird.svg"), size, false, device_pixel_ratio);
}

QIcon Artwork::WindowIcon() {
  return SvgIcon(QStringLiteral(":/artwork/window_icon.svg"), false, Squares({16, 32, 48, 64}));
}

QIcon Artwork::TrayIcon() {
  return SvgIcon(QStringLiteral(":/artwork/tray_icon.svg"), false, Squares({16, 32, 48}));
}

QIcon Artwork::SigninPicture() {
  return SvgIcon(QStringLiteral(":/artwork/signin.svg"), false, Squares({16}));
}

}  // namespace plumwit
