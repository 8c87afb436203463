#include "dialogs/update_profile_dialog.h"

#include <exception>
#include <utility>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "core/build_config.h"
#include "core/service/endpoints.h"
#include "dialogs/dialog_controls.h"
#include "dialogs/dialog_fonts.h"
#include "dialogs/dialog_frame.h"
#include "dialogs/status_posting.h"
#include "main_window/main_window.h"
#include "ui/box_label.h"
#include "ui/exception_guard.h"
#include "ui/form_label.h"
#include "ui/hints.h"
#include "ui/limited_memo.h"
#include "ui/opening_focus.h"
#include "ui/skin.h"
#include "ui/user_messages.h"

namespace plumwit {
namespace {

constexpr int kDescriptionMaxLength = 160;

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TUpdateProfile::TUpdateProfile(TKIV& kiv, QWidget* parent)
    : QDialog(parent), kiv_(kiv), http_(kiv.Setup().http_limits) {
  SetUpDialogFrame(*this, "UpdateProfile", QStringLiteral("Update profile informations"),
                   QSize(442, 247), DesignFont("Tahoma", 11, FontUnit::kPixels));
  BuildLabels();
  BuildFields();
  OpeningFocus::Install(*this, *RealName);
  SpreadWindowFont(*this);
  SpreadSkinPalette(*this);
  connect(sButton1, &QPushButton::clicked, this, Guarded(this, &TUpdateProfile::sButton1Click));
  connect(sButton2, &QPushButton::clicked, this, Guarded(this, &TUpdateProfile::sButton2Click));
}

void TUpdateProfile::BuildLabels() {
  new FormLabel("sLabelFX1", QStringLiteral("Real Name:"), QRect(8, 0, 61, 19), this);
  new FormLabel("sLabelFX2", QStringLiteral("Location:"), QRect(224, 0, 50, 19), this);
  new FormLabel("sLabelFX3", QStringLiteral("Description:"), QRect(8, 48, 63, 19), this);
  new FormLabel("sLabelFX4", QStringLiteral("Url:"), QRect(8, 152, 23, 19), this);
  new FormLabel("sLabelFX5", QStringLiteral("Username:"), QRect(224, 152, 58, 19), this);
  AddBevel(this, "Bevel1", QRect(8, 200, 425, 9));
}

// Created in their tab order.
void TUpdateProfile::BuildFields() {
  RealName = AddEdit(this, "RealName", QRect(16, 24, 201, 21), QStringLiteral("Your real name"));
  Location = AddEdit(this, "Location", QRect(232, 24, 201, 21), QStringLiteral("Your location"));
  Description = new LimitedMemo("Description", kDescriptionMaxLength, this);
  Description->setGeometry(16, 72, 417, 73);
  SetHint(Description, QStringLiteral("Your account description"));
  Url = AddEdit(this, "Url", QRect(16, 176, 201, 21), QStringLiteral("Your Url"));
  sButton1 = AddButton(this, "sButton1", QStringLiteral("Cancel"), QRect(336, 216, 91, 25));
  sButton2 = AddButton(this, "sButton2", QStringLiteral("Update profile"), QRect(240, 216, 91, 25));
  UserName = AddEdit(this, "UserName", QRect(232, 176, 201, 21));

  const std::pair<const char*, QWidget*> captions[] = {{"sLabelFX1", RealName},
                                                       {"sLabelFX2", Location},
                                                       {"sLabelFX3", Description},
                                                       {"sLabelFX4", Url},
                                                       {"sLabelFX5", UserName}};
  for (const auto& [label, box] : captions) {
    LabelBox(findChild<QLabel*>(QString::fromLatin1(label)), box);
  }
  MakeMainButton(sButton2);

  setTabOrder(RealName, Location);
  setTabOrder(Location, Description);
  setTabOrder(Description, Url);
  setTabOrder(Url, sButton1);
  setTabOrder(sButton1, sButton2);
  setTabOrder(sButton2, UserName);
}

// A show the window system makes (a restore) is no new opening.
void TUpdateProfile::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) RunGuarded([this] { FormShow(); });
}

void TUpdateProfile::FormShow() {
  HttpClient& main_client = kiv_.IdHTTP();
  const AccountState& account = kiv_.Account();
  main_client.Request.Username = account.AccountName;
  main_client.Request.Password = account.AccountPassword;
  main_client.Request.BasicAuthentication = true;
  XmlDocument& document = kiv_.XMLDocument();
  document.SetActive(false);
  const std::string reply =
      main_client.Get(UserRecordUrl(account.AccountName, kiv_.Setup().Service()));
  document.Load(reply);
  kiv_.GetPeopleInfo();
  FillFields();
}

void TUpdateProfile::FillFields() {
  const AccountState& account = kiv_.Account();
  RealName->setText(Q(account.ProfileName));
  Location->setText(Q(account.ProfileLocation));
  Description->SetText(Q(account.ProfileDescription));
  Url->setText(Q(account.ProfileUrl));
  UserName->setText(Q(account.ScreenName));
}

void TUpdateProfile::ClearFields() {
  RealName->clear();
  Location->clear();
  Description->clear();
  Url->clear();
  UserName->clear();
}

void TUpdateProfile::sButton2Click() {
  if (IsBlankText(UserName->text())) return;
  ProfileFields fields;
  fields.name = RealName->text().toStdString();
  fields.screen_name = UserName->text().toStdString();
  fields.location = Location->text().toStdString();
  fields.description = Description->Text().toStdString();
  fields.url = Url->text().toStdString();
  const std::string url = ProfileUpdateUrl(fields, kiv_.Setup().Service());
  http_.Request.Username = kiv_.Account().AccountName;
  http_.Request.Password = kiv_.Account().AccountPassword;
  http_.Request.BasicAuthentication = true;
  try {
    http_.Post(url);
    ClearFields();
    ShowMessage(QStringLiteral("Your ") + QString::fromUtf8(build::kServiceSite) +
                QStringLiteral(" profile was successfully updated!"));
  } catch (const std::exception& error) {
    ShowMessage(QStringLiteral("Error : ") + Q(error.what()));
  }
  close();
}

void TUpdateProfile::sButton1Click() { close(); }

}  // namespace plumwit
