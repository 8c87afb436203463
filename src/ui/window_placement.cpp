#include "ui/window_placement.h"

#include <algorithm>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace plumwit {
namespace {

// The start of a span of `length` inside [low, low + room): `wanted` if it
// fits, else the nearest start that fits, else `low`.
int FittedStart(int wanted, int length, int low, int room) {
  if (length >= room) return low;
  return std::clamp(wanted, low, low + room - length);
}

}  // namespace

QPoint FittedFramePosition(QPoint designed, QSize frame, const QRect& available) {
  if (!available.isValid()) return designed;
  return {FittedStart(designed.x(), frame.width(), available.left(), available.width()),
          FittedStart(designed.y(), frame.height(), available.top(), available.height())};
}

void FitWindowOnScreen(QWidget& window, QPoint designed) {
  const QScreen* screen = QGuiApplication::screenAt(designed);
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect frame = window.frameGeometry();
  const QPoint place = FittedFramePosition(designed, frame.size(), screen->availableGeometry());
  if (place != frame.topLeft()) window.move(place);
}

}  // namespace plumwit
