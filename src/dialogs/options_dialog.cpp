#include "dialogs/options_dialog.h"

#include "dialogs/dialog_frame.h"

namespace plumwit {

TOptions::TOptions(TKIV& kiv, QWidget* parent) : QDialog(parent), kiv_(kiv) {
  SetUpDialogFrame(*this, "Options", QStringLiteral("Plumwit Options"), QSize(440, 220));
}

void TOptions::FormCreate() {}

}  // namespace plumwit
