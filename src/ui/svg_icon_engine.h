#pragma once

#include <QIconEngine>
#include <QList>
#include <QSize>
#include <QString>

namespace plumwit {

// An icon drawn from an SVG resource at whatever pixel size is asked for, so
// it stays sharp at every scale factor and on every screen.
class SvgIconEngine : public QIconEngine {
 public:
  // `sizes` are the sizes offered to whoever asks which exist (window and
  // tray icons); any other size is drawn just as well.
  SvgIconEngine(QString resource, bool keep_proportions, QList<QSize> sizes = {});

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
  QIconEngine* clone() const override;
  QString key() const override;

 private:
  QString resource_;
  bool keep_proportions_;
  QList<QSize> sizes_;
};

}  // namespace plumwit
