#pragma once

#include <QDialog>

namespace plumwit {

class TKIV;

// The dialog `UpdateProfile`: "Update profile informations". Created once at start-up, shown
// modally by the main window's commands and hidden, not destroyed, when closed.
class TUpdateProfile : public QDialog {
  Q_OBJECT

 public:
  explicit TUpdateProfile(TKIV& kiv, QWidget* parent = nullptr);

 private:
  TKIV& kiv_;
};

}  // namespace plumwit
