#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

namespace plumwit {

// Where a window's frame goes so that it stays on a screen: at `designed`
// when the whole frame fits inside `available` there, otherwise moved just
// as far as needed. A frame larger than the screen keeps its top-left corner
// on the screen, so the title bar stays reachable.
QPoint FittedFramePosition(QPoint designed, QSize frame, const QRect& available);

// Moves `window` so its frame sits at its designed top-left corner `designed`
// on the screen that holds that point (or the primary screen), as far as the
// screen's available area allows.
void FitWindowOnScreen(QWidget& window, QPoint designed);

}  // namespace plumwit
