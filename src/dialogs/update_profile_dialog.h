#pragma once

#include <QDialog>

#include "core/service/http_client.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;

namespace plumwit {

class LimitedMemo;
class TKIV;

// The dialog `UpdateProfile`: "Update profile informations". Every showing
// fetches the account's record through the main window and fills the
// fields; "Update profile" sends all five back through the dialog's own
// HTTP client. Created once at start-up, shown modally by the main window's
// command and hidden, not destroyed, when closed.
class TUpdateProfile : public QDialog {
  Q_OBJECT

 public:
  explicit TUpdateProfile(TKIV& kiv, QWidget* parent = nullptr);

  // The opening fetch; its errors are left to the caller.
  void FormShow();
  // "Update profile".
  void sButton2Click();
  // "Cancel".
  void sButton1Click();

  HttpClient& IdHTTP() { return http_; }

  QLineEdit* RealName;
  QLineEdit* Location;
  LimitedMemo* Description;
  QLineEdit* Url;
  QLineEdit* UserName;
  QPushButton* sButton1;
  QPushButton* sButton2;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildLabels();
  void BuildFields();
  void FillFields();
  void ClearFields();

  TKIV& kiv_;
  HttpClient http_;
};

}  // namespace plumwit
