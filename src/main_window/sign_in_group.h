#pragma once

#include <QGroupBox>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace plumwit {

class LinkLabel;

// The sign-in group `HomeLogin`: user name, password, remember box, the two
// service links and the Signin button.
class SignInGroup : public QGroupBox {
  Q_OBJECT

 public:
  explicit SignInGroup(QWidget* parent);

  QLineEdit* HomeUsername;
  QLineEdit* HomePassword;
  QCheckBox* Remember;
  LinkLabel* sWebLabel1;
  LinkLabel* sWebLabel2;
  QPushButton* Login;

 private:
  void AddBoxes();
  void AddLinksAndButton();
};

}  // namespace plumwit
