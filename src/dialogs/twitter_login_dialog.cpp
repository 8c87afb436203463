#include "dialogs/twitter_login_dialog.h"

#include <QAction>

#include "core/settings/ini_file.h"
#include "dialogs/dialog_frame.h"
#include "main_window/main_window.h"
#include "ui/link_opener.h"

namespace plumwit {

TTwitterLogin::TTwitterLogin(TKIV& kiv, QWidget* parent)
    : QDialog(parent), kiv_(kiv), store_(kiv.Setup().application_data_folder) {
  SetUpDialogFrame(*this, "TwitterLogin", QStringLiteral("Login to your Twitter Account"),
                   QSize(330, 190));
  forgot_password_ = AddLink("ForgotPassword", "/account/resend_password");
  signup_ = AddLink("Signup", "/signup");
}

QAction* TTwitterLogin::AddLink(const char* name, const char* path) {
  auto* link = new QAction(this);
  link->setObjectName(QString::fromLatin1(name));
  const QString address = QString::fromStdString(kiv_.Setup().Service().SitePage(path));
  connect(link, &QAction::triggered, this, [address] { OpenLink(address); });
  return link;
}

void TTwitterLogin::FormCreate() {
  store_.SetFileName(kiv_.RememberFileName());
  kiv_.SetRememberChecked(kiv_.Settings().ReadBool("Login", "Remember", false));
  remembered_username_ = QString::fromStdString(store_.ReadText("RememberUsername", ""));
  remembered_password_ = QString::fromStdString(store_.ReadText("RememberPassword", ""));
}

}  // namespace plumwit
