// Applying the settings, the refresh timer, and the timeline refresh.
#include <map>

#include <QCheckBox>
#include <QLineEdit>

#include "core/service/endpoints.h"
#include "core/settings/ini_file.h"
#include "main_window/counts_panel.h"
#include "main_window/main_window.h"
#include "main_window/main_window_texts.h"
#include "main_window/refresh_timer.h"
#include "main_window/sign_in_group.h"
#include "main_window/tweet_box.h"
#include "timeline/timeline_view.h"
#include "ui/status_hint_tracker.h"
#include "ui/user_messages.h"

namespace plumwit {
namespace {

// Period texts of the settings file; any other text leaves the period as it was.
const std::map<std::string, int>& RefreshPeriods() {
  static const std::map<std::string, int> periods = {
      {"5 minutes", 5},   {"15 minutes", 15}, {"25 minutes", 25},
      {"35 minutes", 35}, {"45 minutes", 45}, {"1 hour", 60},
  };
  return periods;
}

constexpr int kMillisecondsPerMinute = 60000;

}  // namespace

void TKIV::FormCreate() {
  ApplyRefreshSettings();
  store_.SetFileName(RememberFileName());
  ApplyRememberedSignIn();
  HomePasswordChange();
  hint_tracker_->Install([this](const QString& hint) { ShowStatusHint(hint); });
}

void TKIV::ApplyRefreshSettings() {
  const IniFile settings = Settings();
  const auto period = RefreshPeriods().find(settings.ReadString("Options", "RefreshTimeline", ""));
  if (period != RefreshPeriods().end()) account_.RefreshMinutes = period->second;
  account_.ManualRefresh = settings.ReadBool("Options", "NeverRefresh", false);

  if (!account_.ManualRefresh) {
    timer_->SetEnabled(true);
    timer_->SetInterval(account_.RefreshMinutes * kMillisecondsPerMinute);
  } else if (SignedIn()) {
    timer_->SetEnabled(false);
  }
}

void TKIV::ApplyRememberedSignIn() {
  HomeLogin_->Remember->setChecked(Settings().ReadBool("Login", "Remember", false));
  if (!HomeLogin_->Remember->isChecked()) return;
  HomeLogin_->HomeUsername->setText(
      QString::fromStdString(store_.ReadText("RememberUsername", "")));
  HomeLogin_->HomePassword->setText(
      QString::fromStdString(store_.ReadText("RememberPassword", "")));
}

void TKIV::TimerTimer() {
  HomeTimelineRefresh();
  FormCreate();
}

PageContext TKIV::TimelinePageContext() const {
  PageContext context;
  context.program_folder = setup_.stylesheet_folder;
  context.service_host = setup_.service_host;
  context.service_scheme = setup_.service_scheme;
  return context;
}

void TKIV::SetRefreshCredentials() {
  http_.Request.BasicAuthentication = true;
  http_.Request.Username = account_.AccountName;
  http_.Request.Password = account_.AccountPassword;
}

// Fills `lines` with the page; false when the timeline could not be read.
// The client hands back the body of a 401 to a request with credentials, so
// a refused password is known by the status code, whatever the body (an XML
// error document or, from Friendica, an HTML page). A refusal document that
// comes with another code still surfaces as the null conversion error.
bool TKIV::BuildTimelinePage(PageLines& lines) {
  const PageContext context = TimelinePageContext();
  lines.clear();
  try {
    const std::string url = HomeTimelineUrl(account_.AccountName, setup_.Service());
    SetRefreshCredentials();
    AppendHeadLines(lines, context);
    xml_.SetActive(false);
    const std::string reply = http_.Get(url);
    if (http_.LastReplyCode() == kHttpUnauthorized) {
      ShowSignInGroupAfterRefusal();
      return false;
    }
    xml_.Load(reply);
    AppendStatusLines(lines, xml_, context);
  } catch (const std::exception& error) {
    if (std::string(error.what()) == kNullConversionMessage) ShowSignInGroupAfterRefusal();
    return false;
  }
  AppendClosingLine(lines);
  return true;
}

void TKIV::HomeTimelineRefresh() {
  try {
    if (BuildTimelinePage(page_lines_)) client_tweets_->LoadPage(JoinPageLines(page_lines_));
  } catch (const std::exception&) {
    // The refresh never lets an error out; the view keeps its page.
  }
}

void TKIV::ShowSignInGroupAfterRefusal() {
  Panel_->hide();
  client_tweets_->hide();
  TwPanel_->hide();
  HomeLogin_->show();
  HomeLogin_->HomeUsername->setFocus();
  setWindowTitle(QString::fromUtf8(texts::kCaptionAtStart));
  ShowMessage(QString::fromUtf8(texts::kWrongPasswordMessage));
}

}  // namespace plumwit
