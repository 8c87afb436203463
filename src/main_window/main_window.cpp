#include "main_window/main_window.h"

#include <iterator>
#include <utility>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>

#include "dialogs/about_dialog.h"
#include "dialogs/options_dialog.h"
#include "dialogs/post_new_tweet_dialog.h"
#include "dialogs/twitter_login_dialog.h"
#include "dialogs/update_profile_dialog.h"
#include "main_window/counts_panel.h"
#include "main_window/main_tool_bar.h"
#include "main_window/main_window_texts.h"
#include "main_window/refresh_timer.h"
#include "main_window/screen_requirement.h"
#include "main_window/sign_in_group.h"
#include "main_window/tray_presence.h"
#include "main_window/tweet_box.h"
#include "timeline/timeline_view.h"
#include "ui/after_first_paint.h"
#include "ui/artwork.h"
#include "ui/exception_guard.h"
#include "ui/form_label.h"
#include "ui/hints.h"
#include "ui/limited_memo.h"
#include "ui/link_label.h"
#include "ui/link_opener.h"
#include "ui/modal_dialog.h"
#include "ui/picture_tool_button.h"
#include "ui/skin.h"
#include "ui/status_hint_tracker.h"
#include "ui/svg_picture.h"
#include "ui/window_placement.h"

namespace plumwit {
namespace {

constexpr int kClientWidth = 322;
constexpr int kClientHeight = 666;
// The frame's designed top-left corner on the screen.
constexpr QPoint kDesignedPosition(811, 121);

QFont WindowFont() {
  QFont font;
  // Tahoma is narrow; where it is missing, a condensed face keeps the texts
  // inside their designed places.
  const QString tahoma = QStringLiteral("Tahoma");
  if (QFontDatabase::hasFamily(tahoma)) {
    font.setFamily(tahoma);
  } else {
    font.setFamily(QStringLiteral("DejaVu Sans"));
    font.setStretch(QFont::Condensed);
  }
  font.setPointSize(8);
  return font;
}

QSize PrimaryScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->size() : QSize();
}

}  // namespace

TKIV::TKIV(WindowSetup setup, QWidget* parent)
    : QWidget(parent),
      setup_(std::move(setup)),
      http_(setup_.http_limits),
      store_(setup_.application_data_folder) {
  setObjectName(QStringLiteral("KIV"));
  timer_ = new RefreshTimer(this);
  timer_->setObjectName(QStringLiteral("Timer"));
  hint_tracker_ = new StatusHintTracker(this);
  hint_tracker_->KeepTooltipsOff(this);
  tray_ = new TrayPresence(this);
  BuildFrame();
  BuildTop();
  HomeLogin_ = new SignInGroup(this);
  Panel_ = new CountsPanel(this);
  client_tweets_ = new TimelineView(QString::fromStdString(setup_.stylesheet_folder), this,
                                    QString::fromStdString(setup_.view_module_file));
  client_tweets_->setObjectName(QStringLiteral("ClientTweets"));
  client_tweets_->setGeometry(0, 66, 321, 477);
  client_tweets_->hide();
  TwPanel_ = new TweetBox(this);
  ToolBar_ = new MainToolBar(this);
  BuildStatusBar();
  BuildActions();
  ConnectControls();
  ConnectTray();
  ApplyWindowFont();
  SpreadSkinPalette(*this);
  ChainTabOrder();
}

// Tab runs through the sign-in group (or the timeline and the tweet box once
// signed in), then the tool bar and the web address; hidden controls are
// passed over. Typing starts in the user name box.
void TKIV::ChainTabOrder() {
  QWidget* const chain[] = {HomeLogin_->HomeUsername, HomeLogin_->HomePassword,
                            HomeLogin_->Remember,     HomeLogin_->Login,
                            HomeLogin_->sWebLabel1,   HomeLogin_->sWebLabel2,
                            client_tweets_,           TwPanel_->Tweet,
                            TwPanel_->tweetbtn,       ToolBar_->LoginLogout,
                            ToolBar_->NewTweet,       ToolBar_->RefreshTweets,
                            ToolBar_->ToolButton2,    ToolBar_->Profilebtn,
                            ToolBar_->ToolButton3,    sLabelFX2_};
  for (std::size_t i = 1; i < std::size(chain); ++i) setTabOrder(chain[i - 1], chain[i]);
  HomeLogin_->HomeUsername->setFocus();
}

// Some widget kinds get a font of their own from the platform theme; the
// window's controls all use the window's.
void TKIV::ApplyWindowFont() {
  for (QWidget* control : findChildren<QWidget*>()) control->setFont(font());
}

TKIV::~TKIV() = default;

void TKIV::BuildFrame() {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight);
  move(kDesignedPosition);
  setWindowTitle(QString::fromUtf8(texts::kCaptionAtStart));
  setWindowIcon(Artwork::WindowIcon());
  setFont(WindowFont());
  ApplySkin(*this, MainWindowSkin());
}

void TKIV::BuildTop() {
  Image1_ = new SvgPicture([](qreal ratio) { return Artwork::Logo(QSize(243, 235), ratio); }, this);
  Image1_->setObjectName(QStringLiteral("Image1"));
  Image1_->setGeometry(16, 16, 289, 249);
  Image1_->setAlignment(Qt::AlignCenter);

  sLabelFX1_ = new FormLabel("sLabelFX1", QString::fromUtf8(build::kMakerNotice),
                             QRect(104, 0, 201, 21), this);
  sLabelFX2_ = new LinkLabel(QStringLiteral("Web: ") + QString::fromUtf8(build::kMakerHome), this);
  sLabelFX2_->setObjectName(QStringLiteral("sLabelFX2"));
  sLabelFX2_->setGeometry(152, 16, 154, 21);
  // A top label like the notice beside it, not one of the blue links.
  sLabelFX2_->KeepColour(FormLabel::Colour());
  SetHint(sLabelFX2_, QStringLiteral("Visit developer homepage"));
}

void TKIV::BuildStatusBar() {
  StatusBar_ = new QStatusBar(this);
  StatusBar_->setObjectName(QStringLiteral("StatusBar"));
  StatusBar_->setGeometry(0, 647, 322, 19);
  StatusBar_->setSizeGripEnabled(false);
  status_panel_ = new QLabel(StatusBar_);
  status_panel_->setObjectName(QStringLiteral("StatusPanel"));
  status_panel_->setTextFormat(Qt::PlainText);
  status_panel_->setFixedWidth(280);
  StatusBar_->addWidget(status_panel_);
}

void TKIV::BuildActions() {
  ORLENCO_ = new QAction(this);
  ORLENCO_->setObjectName(QStringLiteral("ORLENCO"));
  connect(ORLENCO_, &QAction::triggered, this,
          [] { OpenLink(QString::fromUtf8(build::kMakerHome)); });
  twitter_ = new QAction(this);
  twitter_->setObjectName(QStringLiteral("twitter"));
  connect(twitter_, &QAction::triggered, this, [this] {
    OpenLink(QString::fromStdString(setup_.Service().SitePage("/")));
  });
}

void TKIV::ConnectControls() {
  connect(HomeLogin_->HomeUsername, &QLineEdit::textChanged, this,
          Guarded(this, &TKIV::HomeUsernameChange));
  connect(HomeLogin_->HomePassword, &QLineEdit::textChanged, this,
          Guarded(this, &TKIV::HomePasswordChange));
  // A sign-in is on its way: the web view will be wanted soon.
  for (QLineEdit* box : {HomeLogin_->HomeUsername, HomeLogin_->HomePassword})
    connect(box, &QLineEdit::textChanged, client_tweets_, &TimelineView::StartEngineSoon);
  connect(HomeLogin_->Login, &QPushButton::clicked, this, Guarded(this, &TKIV::LoginClick));
  connect(HomeLogin_->sWebLabel1, &LinkLabel::clicked, this, Guarded(this, &TKIV::sWebLabel1Click));
  connect(HomeLogin_->sWebLabel2, &LinkLabel::clicked, this, Guarded(this, &TKIV::sWebLabel2Click));
  connect(sLabelFX2_, &LinkLabel::clicked, this, Guarded(this, &TKIV::sLabelFX2Click));
  connect(ToolBar_->LoginLogout, &QToolButton::clicked, this,
          Guarded(this, &TKIV::LoginLogoutClick));
  connect(ToolBar_->NewTweet, &QToolButton::clicked, this, Guarded(this, &TKIV::NewTweetClick));
  connect(ToolBar_->RefreshTweets, &QToolButton::clicked, this,
          Guarded(this, &TKIV::RefreshTweetsClick));
  connect(ToolBar_->ToolButton2, &QToolButton::clicked, this,
          Guarded(this, &TKIV::ToolButton2Click));
  connect(ToolBar_->Profilebtn, &QToolButton::clicked, this, Guarded(this, &TKIV::ProfilebtnClick));
  connect(ToolBar_->ToolButton3, &QToolButton::clicked, this,
          Guarded(this, &TKIV::ToolButton3Click));
  connect(timer_, &RefreshTimer::Tick, this, Guarded(this, &TKIV::TimerTimer));
}

// The tray items reuse the window's commands (newtClick is NewTweetClick, and
// so on), so they are connected to the same handlers.
void TKIV::ConnectTray() {
  connect(tray_->ShowTwitterClient1, &QAction::triggered, this,
          Guarded(this, &TKIV::ShowTwitterClient1Click));
  connect(tray_->newt, &QAction::triggered, this, Guarded(this, &TKIV::NewTweetClick));
  connect(tray_->RefreshTweets1, &QAction::triggered, this,
          Guarded(this, &TKIV::RefreshTweetsClick));
  connect(tray_->ClientOptions1, &QAction::triggered, this, Guarded(this, &TKIV::ToolButton2Click));
  connect(tray_->Developerhomepage1, &QAction::triggered, this,
          Guarded(this, &TKIV::sLabelFX2Click));
  connect(tray_->witterhomepage1, &QAction::triggered, twitter_, &QAction::trigger);
  connect(tray_->AboutTwitterClient1, &QAction::triggered, this,
          Guarded(this, &TKIV::ToolButton3Click));
  connect(tray_->QuitTwitterClient1, &QAction::triggered, this,
          Guarded(this, &TKIV::QuitTwitterClient1Click));
  connect(tray_, &TrayPresence::DoubleClicked, this, Guarded(this, &TKIV::TrayDoubleClick));
}

void TKIV::FinishLoading() {
  tray_->Add();
  const QSize screen = setup_.screen_size ? setup_.screen_size() : PrimaryScreenSize();
  CheckScreenRequirement(screen, QString::fromStdString(setup_.executable_name));
}

void TKIV::SetDialogMaker(std::function<void()> make) {
  make_dialogs_ = std::move(make);
  AfterFirstPaint(this, this, [this] { Dialogs(); });
}

const FormDialogs& TKIV::Dialogs() {
  if (make_dialogs_) std::exchange(make_dialogs_, nullptr)();
  return dialogs_;
}

void TKIV::AttachDialogs(const FormDialogs& dialogs) {
  dialogs_ = dialogs;
  for (QWidget* dialog :
       std::initializer_list<QWidget*>{dialogs.TwitterLogin, dialogs.PostNewTweet, dialogs.About,
                                       dialogs.Options, dialogs.UpdateProfile}) {
    hint_tracker_->KeepTooltipsOff(dialog);
  }
}

std::string TKIV::SettingsPath() const { return setup_.settings_file; }

IniFile TKIV::Settings() const {
  return IniFile(setup_.settings_file, MissingFolder::kCreatePrivate);
}

std::string TKIV::RememberFileName() const { return setup_.program_folder + "remember.xml"; }

void TKIV::SetRememberChecked(bool checked) { HomeLogin_->Remember->setChecked(checked); }

bool TKIV::SignedIn() const {
  return ToolBar_->LoginLogout->ImageIndex() == MainToolBar::kSignedInPicture;
}

void TKIV::ShowStatusHint(const QString& hint) { status_panel_->setText(LongHint(hint)); }

void TKIV::sLabelFX2Click() { ORLENCO_->trigger(); }

void TKIV::sWebLabel1Click() {
  if (dialogs_.TwitterLogin) dialogs_.TwitterLogin->ForgotPassword()->trigger();
}

void TKIV::sWebLabel2Click() {
  if (dialogs_.TwitterLogin) dialogs_.TwitterLogin->Signup()->trigger();
}

void TKIV::NewTweetClick() {
  if (Dialogs().PostNewTweet) ShowModal(*dialogs_.PostNewTweet);
}

void TKIV::RefreshTweetsClick() { HomeTimelineRefresh(); }

void TKIV::ToolButton2Click() {
  if (Dialogs().Options) ShowModal(*dialogs_.Options);
}

void TKIV::ProfilebtnClick() {
  if (Dialogs().UpdateProfile) ShowModal(*dialogs_.UpdateProfile);
}

void TKIV::ToolButton3Click() {
  if (Dialogs().About) ShowModal(*dialogs_.About);
}

void TKIV::QuitTwitterClient1Click() { close(); }

// The frame's size is known only once the window system has framed the
// window, so the fit is checked at the show and once more right after it.
void TKIV::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (placed_ || event->spontaneous()) return;
  placed_ = true;
  FitWindowOnScreen(*this, kDesignedPosition);
  QTimer::singleShot(0, this, [this] { FitWindowOnScreen(*this, pos()); });
}

void TKIV::closeEvent(QCloseEvent* event) {
  event->accept();
  emit Closed();
}

}  // namespace plumwit
