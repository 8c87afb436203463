// Signing in from the sign-in group, signing out, and the account record.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/error.h"
#include "core/service/endpoints.h"
#include "core/service/people_info.h"
#include "core/settings/ini_file.h"
#include "main_window/counts_panel.h"
#include "main_window/main_tool_bar.h"
#include "main_window/main_window.h"
#include "main_window/main_window_texts.h"
#include "main_window/refresh_timer.h"
#include "main_window/sign_in_group.h"
#include "main_window/tray_presence.h"
#include "main_window/tweet_box.h"
#include "timeline/timeline_view.h"
#include "ui/hints.h"
#include "ui/limited_memo.h"
#include "ui/picture_tool_button.h"
#include "ui/user_messages.h"

namespace plumwit {
namespace {

std::string TextOf(const QLineEdit* edit) { return edit->text().toStdString(); }

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void TKIV::HomeUsernameChange() { HomePasswordChange(); }

void TKIV::HomePasswordChange() {
  HomeLogin_->Login->setEnabled(HomeLogin_->HomeUsername->text().size() >= 2 &&
                                HomeLogin_->HomePassword->text().size() >= 2);
}

void TKIV::LoginClick() {
  try {
    HomeLogin_->hide();
    store_.SetFileName(RememberFileName());
    Panel_->show();
    TwPanel_->show();
    if (!RequestAccountRecord()) {
      ReportRefusedSignIn();
      return;
    }
    GetPeopleInfo();
    const std::string unwritten = RememberSignIn();
    account_.AccountName = TextOf(HomeLogin_->HomeUsername);
    account_.AccountPassword = TextOf(HomeLogin_->HomePassword);
    Panel_->SetCounts(Q(account_.StatusesCount), Q(account_.FollowersCount),
                      Q(account_.FriendsCount));
    ShowSignedIn();
    HomeTimelineRefresh();
    FormCreate();
    // The sign-in itself worked; the user still learns, once, what it could
    // not keep.
    if (!unwritten.empty()) ShowDefaultError(Q(unwritten));
  } catch (const std::exception& error) {
    ReportSignInFailure(error);
  }
}

// False when the service refused the credentials. Only the dialect of GNU
// social and Friendica can tell that here: Friendica guards every request,
// the record included, while the classic service and a public GNU social
// show the record to any password and refuse only the timeline.
bool TKIV::RequestAccountRecord() {
  http_.Request.Username = TextOf(HomeLogin_->HomeUsername);
  http_.Request.Password = TextOf(HomeLogin_->HomePassword);
  http_.Request.BasicAuthentication = true;
  xml_.SetActive(false);
  const std::string reply =
      http_.Get(UserRecordUrl(TextOf(HomeLogin_->HomeUsername), setup_.Service()));
  if (setup_.service_dialect == ServiceDialect::kStatusNet &&
      http_.LastReplyCode() == kHttpUnauthorized) {
    return false;
  }
  xml_.Load(reply);
  return true;
}

// Assigned only when the whole record was read, so a failure keeps the
// previous values.
void TKIV::GetPeopleInfo() { static_cast<PeopleInfo&>(account_) = ReadPeopleInfo(xml_); }

// Returns one "Unable to write to" line, CR LF between them, for each file
// that could not be written, or nothing. A folder that cannot be written
// (a file in its place, a full disk) must not cost the sign-in: the files
// on disk stay as they were and the sign-in goes on.
std::string TKIV::RememberSignIn() {
  const bool remember = HomeLogin_->Remember->isChecked();
  const bool saved_name = store_.WriteText(
      "RememberUsername", remember ? TextOf(HomeLogin_->HomeUsername) : std::string());
  const bool saved_password = store_.WriteText(
      "RememberPassword", remember ? TextOf(HomeLogin_->HomePassword) : std::string());
  std::string unwritten;
  if (!saved_name || !saved_password) unwritten = "Unable to write to " + store_.FullPath();
  try {
    Settings().WriteBool("Login", "Remember", remember);
  } catch (const Error& refused) {
    if (!unwritten.empty()) unwritten += "\r\n";
    unwritten += refused.what();
  }
  return unwritten;
}

void TKIV::ShowSignedIn() {
  Image1_->hide();
  ToolBar_->LoginLogout->SetImageIndex(MainToolBar::kSignedInPicture);
  client_tweets_->show();
  ToolBar_->NewTweet->setEnabled(true);
  ToolBar_->RefreshTweets->setEnabled(true);
  tray_->RefreshTweets1->setEnabled(true);
  tray_->ShowTwitterClient1->setEnabled(true);
  tray_->newt->setEnabled(true);
  ToolBar_->LoginLogout->setEnabled(true);
  ToolBar_->Profilebtn->setEnabled(true);
  SetHint(ToolBar_->LoginLogout, QString::fromUtf8(texts::kLoginLogoutHintSignedIn));
  setWindowTitle(QString::fromUtf8(texts::kCaptionSignedInPrefix) + Q(account_.ProfileName));
  TwPanel_->Tweet->setFocus();
}

void TKIV::RestoreSignedOutLayout() {
  Panel_->hide();
  client_tweets_->hide();
  TwPanel_->hide();
  HomeLogin_->show();
  HomeLogin_->HomeUsername->setFocus();
}

// Every failure puts the sign-in group back, so the window is never left
// half-way; the two failures users meet most get the program's own words.
// An unknown user is known by the status code alone: servers word the
// reason phrase as they like ("Page not found.") or leave it out.
void TKIV::ReportSignInFailure(const std::exception& error) {
  RestoreSignedOutLayout();
  const std::string message = error.what();
  const auto* status = dynamic_cast<const HttpStatusError*>(&error);
  if (status != nullptr && status->Code() == kHttpNotFound) {
    ShowMessage(QString::fromUtf8(texts::kUnknownUserMessage) +
                QString::fromUtf8(build::kServiceSite) +
                QString::fromUtf8(texts::kUnknownUserMessageEnd));
  } else if (message == texts::kHostNotFoundError) {
    ShowMessage(QString::fromUtf8(texts::kNoConnectionMessage));
  } else {
    ShowMessage(QString::fromUtf8(texts::kErrorPrefix) + QString::fromStdString(message));
  }
}

// Nothing has been written yet: the store, the settings and the Account
// state keep what they held, and the boxes keep what was typed.
void TKIV::ReportRefusedSignIn() {
  RestoreSignedOutLayout();
  ShowMessage(QString::fromUtf8(texts::kRefusedSignInMessage));
}

void TKIV::LoginLogoutClick() {
  if (!SignedIn()) return;
  HomePasswordChange();
  HomeLogin_->show();
  tray_->newt->setEnabled(false);
  ToolBar_->RefreshTweets->setEnabled(false);
  tray_->RefreshTweets1->setEnabled(false);
  Panel_->hide();
  TwPanel_->hide();
  Image1_->show();
  ToolBar_->Profilebtn->setEnabled(false);
  client_tweets_->hide();
  ToolBar_->NewTweet->setEnabled(false);
  tray_->ShowTwitterClient1->setEnabled(true);
  SetHint(ToolBar_->LoginLogout, QString::fromUtf8(texts::kLoginLogoutHintSignedOut));
  setWindowTitle(QString::fromUtf8(texts::kCaptionAfterSignOut));
  ToolBar_->LoginLogout->setEnabled(false);
  // The reverse of the creation handler's rule.
  timer_->SetEnabled(account_.ManualRefresh);
  if (account_.ManualRefresh) timer_->SetInterval(account_.RefreshMinutes * 60000);
  ToolBar_->LoginLogout->SetImageIndex(MainToolBar::kSignedOutPicture);
}

}  // namespace plumwit
