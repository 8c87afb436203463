#include "main_window/sign_in_group.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "ui/artwork.h"
#include "ui/box_label.h"
#include "ui/form_label.h"
#include "ui/hints.h"
#include "ui/link_label.h"
#include "ui/password_star_style.h"

namespace plumwit {
namespace {

QLineEdit* AddEdit(QWidget* parent, const char* name, const QRect& place, const char* hint) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setGeometry(place);
  SetHint(edit, QString::fromLatin1(hint));
  return edit;
}

}  // namespace

SignInGroup::SignInGroup(QWidget* parent) : QGroupBox(parent) {
  setObjectName(QStringLiteral("HomeLogin"));
  setGeometry(18, 264, 281, 177);
  AddBoxes();
  AddLinksAndButton();
  // The designed order of the four controls, then the two links.
  setTabOrder(HomeUsername, HomePassword);
  setTabOrder(HomePassword, Remember);
  setTabOrder(Remember, Login);
  setTabOrder(Login, sWebLabel1);
  setTabOrder(sWebLabel1, sWebLabel2);
}

void SignInGroup::AddBoxes() {
  auto* user_caption =
      new FormLabel("UsernameCaption", QStringLiteral("Username:"), QPoint(40, 16), this);
  HomeUsername = AddEdit(this, "HomeUsername", QRect(48, 32, 193, 21), "Twitter Username");
  LabelBox(user_caption, HomeUsername);
  auto* password_caption =
      new FormLabel("PasswordLabel", QStringLiteral("Password:"), QPoint(40, 56), this);
  HomePassword = AddEdit(this, "HomePassword", QRect(48, 72, 193, 21), "Twitter Password");
  LabelBox(password_caption, HomePassword);
  HomePassword->setEchoMode(QLineEdit::Password);
  auto* stars = new PasswordStarStyle();
  stars->setParent(HomePassword);
  HomePassword->setStyle(stars);

  Remember = new QCheckBox(QStringLiteral("Remember Login details"), this);
  Remember->setObjectName(QStringLiteral("Remember"));
  Remember->setGeometry(60, 96, 138, 19);
  Remember->setChecked(true);
  SetHint(Remember, QStringLiteral("Remember Username and Password"));
}

void SignInGroup::AddLinksAndButton() {
  sWebLabel1 = new LinkLabel(QStringLiteral("Forgot Password?"), this);
  sWebLabel1->setObjectName(QStringLiteral("sWebLabel1"));
  sWebLabel1->adjustSize();
  sWebLabel1->move(52, 120);
  SetHint(sWebLabel1, QStringLiteral("Forgot Password?"));

  sWebLabel2 = new LinkLabel(QStringLiteral("Signup on Twitter!"), this);
  sWebLabel2->setObjectName(QStringLiteral("sWebLabel2"));
  sWebLabel2->adjustSize();
  sWebLabel2->move(148, 120);
  SetHint(sWebLabel2, QStringLiteral("Signup on Twitter"));

  Login = new QPushButton(Artwork::SigninPicture(), QStringLiteral("Signin"), this);
  Login->setObjectName(QStringLiteral("Login"));
  Login->setGeometry(96, 144, 89, 25);
  // Enter in the boxes must not sign in.
  Login->setAutoDefault(false);
  Login->setDefault(false);
  Login->setEnabled(false);
  SetHint(Login, QStringLiteral("Twitter Signin"));
}

}  // namespace plumwit
