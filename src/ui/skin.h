#pragma once

#include <QString>

namespace plumwit {

// The one built-in look of the program's windows, as a Qt style sheet.
QString MainWindowSkin();

}  // namespace plumwit
