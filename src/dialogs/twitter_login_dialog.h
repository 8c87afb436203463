#pragma once

#include <QDialog>

#include "core/settings/remember_store.h"

class QAction;

namespace plumwit {

class TKIV;

// The sign-in dialog `TwitterLogin`: "Login to your Twitter Account". It is
// created at start-up and never shown; it applies the remember setting once
// more and holds the two service links the main window's labels open.
class TTwitterLogin : public QDialog {
  Q_OBJECT

 public:
  explicit TTwitterLogin(TKIV& kiv, QWidget* parent = nullptr);

  // The creation handler: binds its own store and sets the main window's
  // remember box from the settings file.
  void FormCreate();

  QAction* ForgotPassword() const { return forgot_password_; }
  QAction* Signup() const { return signup_; }
  const QString& RememberedUsername() const { return remembered_username_; }

 private:
  QAction* AddLink(const char* name, const char* path);

  TKIV& kiv_;
  RememberStore store_;
  QAction* forgot_password_;
  QAction* signup_;
  // The dialog's own (never shown) fields.
  QString remembered_username_;
  QString remembered_password_;
};

}  // namespace plumwit
