#pragma once

#include <exception>
#include <functional>
#include <string>

#include <QWidget>

#include "core/service/http_client.h"
#include "core/service/xml_document.h"
#include "core/settings/ini_file.h"
#include "core/settings/remember_store.h"
#include "core/timeline/page_builder.h"
#include "main_window/account_state.h"
#include "main_window/form_dialogs.h"
#include "main_window/window_setup.h"

class QAction;
class QLabel;
class QStatusBar;

namespace plumwit {

class CountsPanel;
class LinkLabel;
class MainToolBar;
class RefreshTimer;
class SignInGroup;
class StatusHintTracker;
class TimelineView;
class TrayPresence;
class TweetBox;

// The main window `KIV`: the sign-in group, the account counts, the timeline,
// the tweet box, the tool bar and the status bar, and the parts every other
// window reaches through it (HTTP client, XML document, remembered sign-in
// store, Account state).
class TKIV : public QWidget {
  Q_OBJECT

 public:
  explicit TKIV(WindowSetup setup = {}, QWidget* parent = nullptr);
  ~TKIV() override;

  // The rest of loading, before the creation handler: the tray icon is added
  // and the screen-size requirement is checked.
  void FinishLoading();
  void AttachDialogs(const FormDialogs& dialogs);
  // Makes the dialogs not attached yet; runs once the window is first
  // painted, or before a command needs one of them.
  void SetDialogMaker(std::function<void()> make);

  // Applies the settings: refresh period, timer, remembered sign-in, the
  // Signin button, the status-bar hints. Runs in full on every call.
  void FormCreate();
  void GetPeopleInfo();
  // Fetches the home timeline and shows it; reports only a wrong password.
  void HomeTimelineRefresh();

  // Handlers, named after their controls.
  void TimerTimer();
  void HomeUsernameChange();
  void HomePasswordChange();
  void LoginClick();
  void LoginLogoutClick();
  void sLabelFX2Click();
  void sWebLabel1Click();
  void sWebLabel2Click();
  void NewTweetClick();
  void RefreshTweetsClick();
  void ToolButton2Click();
  void ProfilebtnClick();
  void ToolButton3Click();
  void ShowTwitterClient1Click();
  void QuitTwitterClient1Click();
  void TrayDoubleClick();
  void EventsMinimize();
  void EventsRestore();

  // Shared with the other windows.
  AccountState& Account() { return account_; }
  HttpClient& IdHTTP() { return http_; }
  XmlDocument& XMLDocument() { return xml_; }
  RememberStore& xmls() { return store_; }
  RefreshTimer& Timer() { return *timer_; }
  TimelineView& ClientTweets() { return *client_tweets_; }
  const WindowSetup& Setup() const { return setup_; }
  // The settings file of this run, and the file opened for one access; its
  // first write creates the user's folder when it is missing.
  std::string SettingsPath() const;
  IniFile Settings() const;
  std::string RememberFileName() const;
  void SetRememberChecked(bool checked);
  // Signed in exactly when `LoginLogout` shows its signed-in picture.
  bool SignedIn() const;

 signals:
  // The window was closed: the program ends.
  void Closed();

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildFrame();
  void BuildTop();
  void BuildStatusBar();
  void BuildActions();
  void ApplyWindowFont();
  void ConnectControls();
  void ConnectTray();
  void ChainTabOrder();

  const FormDialogs& Dialogs();
  void ApplyRefreshSettings();
  void ApplyRememberedSignIn();
  void ShowStatusHint(const QString& hint);

  bool RequestAccountRecord();
  std::string RememberSignIn();
  void ShowSignedIn();
  void RestoreSignedOutLayout();
  void ReportSignInFailure(const std::exception& error);
  void ReportRefusedSignIn();
  void ShowSignInGroupAfterRefusal();
  void SetRefreshCredentials();
  bool BuildTimelinePage(PageLines& lines);
  PageContext TimelinePageContext() const;
  void RestoreApplication();

  WindowSetup setup_;
  AccountState account_;
  HttpClient http_;
  XmlDocument xml_;
  RememberStore store_;
  PageLines page_lines_;
  FormDialogs dialogs_;
  std::function<void()> make_dialogs_;
  bool application_minimised_ = false;
  bool placed_ = false;

  RefreshTimer* timer_;
  StatusHintTracker* hint_tracker_;
  TrayPresence* tray_;

  QLabel* sLabelFX1_;
  LinkLabel* sLabelFX2_;
  QLabel* Image1_;
  SignInGroup* HomeLogin_;
  CountsPanel* Panel_;
  TimelineView* client_tweets_;
  TweetBox* TwPanel_;
  MainToolBar* ToolBar_;
  QStatusBar* StatusBar_;
  QLabel* status_panel_;
  QAction* ORLENCO_;
  QAction* twitter_;
};

}  // namespace plumwit
