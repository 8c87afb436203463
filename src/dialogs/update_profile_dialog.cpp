#include "dialogs/update_profile_dialog.h"

#include "dialogs/dialog_frame.h"

namespace plumwit {

TUpdateProfile::TUpdateProfile(TKIV& kiv, QWidget* parent) : QDialog(parent), kiv_(kiv) {
  SetUpDialogFrame(*this, "UpdateProfile", QStringLiteral("Update profile informations"),
                   QSize(442, 247));
}

}  // namespace plumwit
