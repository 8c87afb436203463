#include "dialogs/about_dialog.h"

#include "dialogs/dialog_frame.h"

namespace plumwit {

TAbout::TAbout(TKIV& kiv, QWidget* parent) : QDialog(parent), kiv_(kiv) {
  SetUpDialogFrame(*this, "About", QStringLiteral("About Plumwit"), QSize(408, 374));
}

}  // namespace plumwit
