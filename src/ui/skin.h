#pragma once

#include <QPalette>
#include <QString>

class QWidget;

namespace plumwit {

// The one built-in look of the program's windows, as a Qt style sheet.
QString MainWindowSkin();

// The message boxes' look: the dialogs' background and buttons.
QString MessageBoxSkin();

// Every colour the skin paints with, for all three colour groups. The style
// sheets draw backgrounds and borders; text, selections and disabled controls
// take their colours from here, so no desktop palette reaches them.
QPalette SkinPalette();

// Gives `window` the skin's palette and `sheet`.
void ApplySkin(QWidget& window, const QString& sheet);

// Gives every control of `window` the skin's palette of its own. Under a style
// sheet, controls no longer inherit their window's palette but take the
// desktop's, so each one must hold the skin's colours itself. The window's
// labels keep their own text colour on top of it.
void SpreadSkinPalette(QWidget& window);

}  // namespace plumwit
