#pragma once

#include <QFont>

class QWidget;

namespace plumwit {

enum class FontUnit { kPixels, kPoints };

// A font of the dialogs' design. Where the designed face is missing, a face
// of similar width stands in, so texts stay inside their designed places.
QFont DesignFont(const char* family, int size, FontUnit unit, bool bold = false);

// Gives every control of `window` that has no font of its own the window's
// font; some widget kinds otherwise take one from the platform theme.
void SpreadWindowFont(QWidget& window);

}  // namespace plumwit
