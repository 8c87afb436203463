#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace plumwit {

class TKIV;

// The dialog `Options`: "Plumwit Options". The refresh period, automatic
// refresh, and starting at login. Created once at start-up, shown modally by
// the main window's commands and hidden, not destroyed, when closed; the
// controls keep their state between showings.
class TOptions : public QDialog {
  Q_OBJECT

 public:
  explicit TOptions(TKIV& kiv, QWidget* parent = nullptr);

  // The creation handler: loads the options from the settings file.
  void FormCreate();
  void NeverRefreshClick();
  // "Save": writes the options, adds or removes the login start entry, has
  // the main window apply the options, and closes.
  void sButton2Click();
  // "Close".
  void sButton1Click();

  QComboBox* RefreshTime;
  QCheckBox* NeverRefresh;
  QCheckBox* WindowsStart;
  QPushButton* sButton2;
  QPushButton* sButton1;

 private:
  void BuildPictureAndLabels();
  void BuildControls();
  void SelectPeriod(const QString& text);
  void UpdateStartEntry();

  TKIV& kiv_;
};

}  // namespace plumwit
