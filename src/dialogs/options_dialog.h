#pragma once

#include <QDialog>

namespace plumwit {

class TKIV;

// The dialog `Options`: "Plumwit Options". Created once at start-up, shown modally by the
// main window's commands and hidden, not destroyed, when closed.
class TOptions : public QDialog {
  Q_OBJECT

 public:
  explicit TOptions(TKIV& kiv, QWidget* parent = nullptr);

  // The creation handler: loads the options from the settings file.
  void FormCreate();

 private:
  TKIV& kiv_;
};

}  // namespace plumwit
