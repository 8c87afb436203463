#pragma once

#include <QString>

namespace plumwit {

// The dialogs' look, matching the main window's skin, as a Qt style sheet.
QString DialogSkin();

}  // namespace plumwit
