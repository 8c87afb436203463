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

// Gives `window` the skin's palette and `sheet`; the window's controls
// inherit both.
void ApplySkin(QWidget& window, const QString& sheet);

}  // namespace plumwit
