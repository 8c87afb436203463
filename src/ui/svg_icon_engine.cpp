#include "ui/svg_icon_engine.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include "ui/artwork.h"
#include "ui/skin.h"

namespace plumwit {

SvgIconEngine::SvgIconEngine(QString resource, bool keep_proportions, QList<QSize> sizes)
    : resource_(std::move(resource)),
      keep_proportions_(keep_proportions),
      sizes_(std::move(sizes)) {}

void SvgIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                          QIcon::State state) {
  const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
  QPixmap picture = pixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state);
  picture.setDevicePixelRatio(ratio);
  painter->drawPixmap(rect, picture);
}

// `size` is in device pixels: the icon sets the ratio on what it hands out.
QPixmap SvgIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) {
  if (size.isEmpty()) return {};
  const QPixmap picture = Artwork::Render(resource_, size, keep_proportions_);
  if (mode != QIcon::Disabled || !qApp) return picture;
  QStyleOption option;
  option.palette = SkinPalette();
  return QApplication::style()->generatedIconPixmap(QIcon::Disabled, picture, &option);
}

QSize SvgIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State) { return size; }

QList<QSize> SvgIconEngine::availableSizes(QIcon::Mode, QIcon::State) { return sizes_; }

QIconEngine* SvgIconEngine::clone() const { return new SvgIconEngine(*this); }

QString SvgIconEngine::key() const { return QStringLiteral("PlumwitSvgIconEngine"); }

}  // namespace plumwit
