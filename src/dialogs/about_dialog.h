#pragma once

#include <QDialog>

namespace plumwit {

class TKIV;

// The dialog `About`: "About Plumwit". Created once at start-up, shown modally by the
// main window's commands and hidden, not destroyed, when closed.
class TAbout : public QDialog {
  Q_OBJECT

 public:
  explicit TAbout(TKIV& kiv, QWidget* parent = nullptr);

 private:
  TKIV& kiv_;
};

}  // namespace plumwit
