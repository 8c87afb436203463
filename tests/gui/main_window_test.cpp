// The main window on real widgets: start-up, sign-in, sign-out, the refresh
// timer, status-bar hints and the tray menu, against a scripted loopback
// service.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QtTest>

#include "core/settings/ini_file.h"
#include "dialogs/about_dialog.h"
#include "dialogs/options_dialog.h"
#include "dialogs/post_new_tweet_dialog.h"
#include "dialogs/twitter_login_dialog.h"
#include "dialogs/update_profile_dialog.h"
#include "main_window/refresh_timer.h"
#include "main_window/screen_requirement.h"
#include "main_window/tray_presence.h"
#include "support/gui_fixture.h"
#include "support/loopback_http_server.h"
#include "support/scripted_http_server.h"
#include "support/service_replies.h"
#include "timeline/timeline_view.h"
#include "ui/picture_tool_button.h"
#include "ui/skin.h"
#include "ui/ui_seams.h"
#include "ui/user_messages.h"

using plumwit::PictureToolButton;
using plumwit::test::GuiFixture;
using plumwit::test::LoopbackHttpServer;

namespace {

const QString kStartCaption = QStringLiteral("         Plumwit 1.7.2");

// Visibility of the window's parts, in this order: logo, sign-in group,
// counts, timeline, tweet box.
QString Layout(GuiFixture& app) {
  QString layout;
  for (const char* name : {"Image1", "HomeLogin", "Panel", "ClientTweets", "TwPanel"}) {
    layout +=
        app.Find<QWidget>(name)->isVisibleTo(&app.Kiv()) ? QLatin1Char('1') : QLatin1Char('0');
  }
  return layout;
}

// Enabled states of LoginLogout, NewTweet, RefreshTweets, Profilebtn,
// ToolButton2, ToolButton3.
QString ToolBarStates(GuiFixture& app) {
  QString states;
  for (const char* name :
       {"LoginLogout", "NewTweet", "RefreshTweets", "Profilebtn", "ToolButton2", "ToolButton3"}) {
    states += app.Find<QWidget>(name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
  }
  return states;
}

// Enabled states of the tray items that follow the sign-in: Show, newt, Refresh.
QString TrayStates(GuiFixture& app) {
  QString states;
  for (const char* name : {"ShowTwitterClient1", "newt", "RefreshTweets1"}) {
    states += app.Kiv().findChild<QAction*>(QString::fromLatin1(name))->isEnabled()
                  ? QLatin1Char('1')
                  : QLatin1Char('0');
  }
  return states;
}

PictureToolButton* LoginLogout(GuiFixture& app) {
  return app.Find<PictureToolButton>("LoginLogout");
}

QString Hint(QObject* control) { return control->property("plumwitHint").toString(); }

void ScriptGoodAccount(LoopbackHttpServer& server) {
  server.Script("/users/show/ann", "200 OK", "text/xml",
                plumwit::test::UserRecord("Ann Example", "ann", "0042", "1,234", "56"));
  server.Script(
      "/statuses/home_timeline/ann.xml", "200 OK", "text/xml",
      plumwit::test::OneStatusTimeline("Hello from bob", "http://" + server.Host() + "/bob.png"));
}

// Points $XDG_CONFIG_HOME at a folder of the test's own while it lives.
class ConfigHome {
 public:
  ConfigHome()
      : had_(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")), old_(qgetenv("XDG_CONFIG_HOME")) {
    qputenv("XDG_CONFIG_HOME", folder_.path().toUtf8());
  }
  ~ConfigHome() {
    if (had_) {
      qputenv("XDG_CONFIG_HOME", old_);
    } else {
      qunsetenv("XDG_CONFIG_HOME");
    }
  }
  ConfigHome(const ConfigHome&) = delete;
  ConfigHome& operator=(const ConfigHome&) = delete;

  QString ProgramFolder() const { return folder_.filePath(QStringLiteral("plumwit")); }

 private:
  QTemporaryDir folder_;
  bool had_;
  QByteArray old_;
};

QByteArray Slurp(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

void Spill(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 public:
  static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

 private slots:
  void startUpCreatesTheWindowsInOrderAndOpensSignedOut();
  void controlsStandAtTheirDesignedPlaces_data();
  void controlsStandAtTheirDesignedPlaces();
  void screenWarningComesBeforeTheCreationHandler();
  void screenRequirementText_data();
  void screenRequirementText();
  void rememberedSignInFillsTheBoxes();
  void loginButtonNeedsTwoCharactersInBothBoxes_data();
  void loginButtonNeedsTwoCharactersInBothBoxes();
  void signInSucceeds();
  void signInWithoutRememberingForgetsTheStore();
  void storeThatCannotBeSavedIsReportedAfterTheSignIn();
  void unwritableConfigFolderOfAnInstalledCopyStillSignsIn_data();
  void unwritableConfigFolderOfAnInstalledCopyStillSignsIn();
  void unknownUserIsReportedAndNothingIsWritten();
  void notFoundWithoutReasonPhraseIsAnUnknownUser();
  void unresolvableHostIsReportedAsNoConnection();
  void otherSignInFailuresRestoreTheSignInGroup_data();
  void otherSignInFailuresRestoreTheSignInGroup();
  void refusedPasswordOnRefreshShowsTheSignInGroup();
  void signOutReturnsToTheSignedOutLayout();
  void refreshPeriodFollowsTheSettings_data();
  void refreshPeriodFollowsTheSettings();
  void unknownPeriodTextKeepsThePreviousPeriod();
  void timerRulesForNeverRefresh();
  void sameTimerSettingsDoNotRestartTheCountdown();
  void statusBarShowsHintsOfControlsUnderTheMouse();
  void labelsKeepTheLabelColourAndLinksAreBlue();
  void linksGoToTheLinkSeam();
  void commandsShowTheirDialogsModally();
  void minimiseAndRestoreSwitchTheShowItem();
  void unreadableStoreGoesToTheDefaultErrorDisplay();
  void defaultErrorTextEndsWithAFullStop_data();
  void defaultErrorTextEndsWithAFullStop();
  void theEndSavesTheMainWindowsStore();
  void quitClosesTheMainWindow();
};

void MainWindowTest::startUpCreatesTheWindowsInOrderAndOpensSignedOut() {
  GuiFixture app;
  app.Start();
  // The four later dialogs wait for the main window's first paint.
  std::vector<std::string> order = {"KIV", "KIV.FormCreate", "TwitterLogin",
                                    "TwitterLogin.FormCreate"};
  QCOMPARE(app.Forms().CreationOrder(), order);
  QVERIFY(!app.Forms().DialogsMade());

  plumwit::TKIV& kiv = app.Kiv();
  QCOMPARE(kiv.windowTitle(), kStartCaption);
  QCOMPARE(kiv.size(), QSize(322, 666));
  QCOMPARE(kiv.pos(), QPoint(811, 121));
  QCOMPARE(Layout(app), QStringLiteral("11000"));
  QCOMPARE(ToolBarStates(app), QStringLiteral("000011"));
  QCOMPARE(TrayStates(app), QStringLiteral("000"));
  QCOMPARE(LoginLogout(app)->ImageIndex(), 0);
  QCOMPARE(Hint(LoginLogout(app)), QStringLiteral("Twitter Account Login"));
  // The design checks Remember; the first run's settings uncheck it.
  QVERIFY(!app.Find<QCheckBox>("Remember")->isChecked());
  QVERIFY(app.Find<QLineEdit>("HomeUsername")->text().isEmpty());
  QVERIFY(!app.Find<QPushButton>("Login")->isEnabled());
  QVERIFY(!app.Find<QPushButton>("tweetbtn")->isEnabled());
  // No period yet: switched on with period 0, which never fires.
  QVERIFY(kiv.Timer().Enabled());
  QCOMPARE(kiv.Timer().Interval(), 0);
  QVERIFY(!kiv.Timer().IsCounting());
  QVERIFY(app.messages.isEmpty() && app.errors.isEmpty() && app.warnings.isEmpty());

  app.Kiv().show();
  QVERIFY(QTest::qWaitForWindowExposed(&app.Kiv()));
  QTRY_VERIFY(app.Forms().DialogsMade());
  order.insert(order.end(),
               {"PostNewTweet", "About", "Options", "Options.FormCreate", "UpdateProfile"});
  QCOMPARE(app.Forms().CreationOrder(), order);

  QCOMPARE(app.Forms().TwitterLogin().windowTitle(),
           QStringLiteral("Login to your Twitter Account"));
  QCOMPARE(app.Forms().PostNewTweet().windowTitle(), QStringLiteral("Post new tweet..."));
  QCOMPARE(app.Forms().PostNewTweet().size(), QSize(520, 115));
  QCOMPARE(app.Forms().About().windowTitle(), QStringLiteral("About Plumwit"));
  QCOMPARE(app.Forms().About().size(), QSize(408, 374));
  QCOMPARE(app.Forms().Options().windowTitle(), QStringLiteral("Plumwit Options"));
  QCOMPARE(app.Forms().Options().size(), QSize(440, 220));
  QCOMPARE(app.Forms().UpdateProfile().windowTitle(),
           QStringLiteral("Update profile informations"));
  QCOMPARE(app.Forms().UpdateProfile().size(), QSize(442, 247));
  QVERIFY(!app.Forms().About().isVisible());
}

void MainWindowTest::controlsStandAtTheirDesignedPlaces_data() {
  // Places inside the parent; labels sized to their text give only their corner.
  QTest::addColumn<QRect>("place");
  QTest::newRow("sLabelFX1") << QRect(104, 0, 201, 21);
  QTest::newRow("sLabelFX2") << QRect(152, 16, 154, 21);
  QTest::newRow("Image1") << QRect(16, 16, 289, 249);
  QTest::newRow("HomeLogin") << QRect(18, 264, 281, 177);
  QTest::newRow("UsernameCaption") << QRect(40, 16, 0, 0);
  QTest::newRow("HomeUsername") << QRect(48, 32, 193, 21);
  QTest::newRow("PasswordLabel") << QRect(40, 56, 0, 0);
  QTest::newRow("HomePassword") << QRect(48, 72, 193, 21);
  QTest::newRow("Remember") << QRect(60, 96, 138, 19);
  QTest::newRow("sWebLabel1") << QRect(52, 120, 0, 0);
  QTest::newRow("sWebLabel2") << QRect(148, 120, 0, 0);
  QTest::newRow("Login") << QRect(96, 144, 89, 25);
  QTest::newRow("Panel") << QRect(0, 33, 323, 32);
  QTest::newRow("TweetsLabel") << QRect(8, 6, 0, 0);
  QTest::newRow("FollowersLabel") << QRect(96, 6, 0, 0);
  QTest::newRow("FollowingLabel") << QRect(200, 6, 0, 0);
  QTest::newRow("ClientTweets") << QRect(0, 66, 321, 477);
  QTest::newRow("TwPanel") << QRect(0, 543, 323, 64);
  QTest::newRow("CoolBar") << QRect(0, 606, 323, 42);
  QTest::newRow("ToolBar") << QRect(33, 1, 260, 40);
  QTest::newRow("StatusBar") << QRect(0, 647, 322, 19);
}

void MainWindowTest::controlsStandAtTheirDesignedPlaces() {
  QFETCH(QRect, place);
  GuiFixture app;
  app.Start();
  const QWidget* control = app.Find<QWidget>(QTest::currentDataTag());
  QVERIFY(control);
  if (place.isEmpty()) {
    QCOMPARE(control->pos(), place.topLeft());
  } else {
    QCOMPARE(control->geometry(), place);
  }
}

void MainWindowTest::screenWarningComesBeforeTheCreationHandler() {
  GuiFixture app;
  app.screen = QSize(800, 600);
  bool remember_still_as_designed = false;
  plumwit::UiSeams::WarningBox() = [&](const QString& caption, const QString& text) {
    app.warnings << caption << text;
    // The window set is still being made: find the main window among the windows.
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window->objectName() != QStringLiteral("KIV")) continue;
      remember_still_as_designed =
          window->findChild<QCheckBox*>(QStringLiteral("Remember"))->isChecked();
    }
  };
  app.Start();
  QCOMPARE(app.warnings.size(), 2);
  QCOMPARE(app.warnings[0], QStringLiteral("System Requirements for plumwit"));
  QVERIFY(app.warnings[1].contains(QStringLiteral("800")));
  QVERIFY(remember_still_as_designed);
  // Start-up went on.
  QVERIFY(!app.Find<QCheckBox>("Remember")->isChecked());
}

void MainWindowTest::screenRequirementText_data() {
  QTest::addColumn<QSize>("screen");
  QTest::addColumn<QString>("text");
  QTest::newRow("800x600")
      << QSize(800, 600)
      << QStringLiteral(
             "The horizontal screen resolution must be at least 1024 pixels, but is only 800 "
             "pixels.\r\nThe vertical screen resolution must be at least 768 pixels, but is "
             "only 600 pixels.");
  QTest::newRow("1280x720")
      << QSize(1280, 720)
      << QStringLiteral(
             "The vertical screen resolution must be at least 768 pixels, but is only 720 "
             "pixels.");
  QTest::newRow("1024x768") << QSize(1024, 768) << QString();
}

void MainWindowTest::screenRequirementText() {
  QFETCH(QSize, screen);
  QFETCH(QString, text);
  QCOMPARE(plumwit::ScreenRequirementText(screen), text);
}

void MainWindowTest::rememberedSignInFillsTheBoxes() {
  GuiFixture app;
  app.WriteProgramFile("settings.kiv", "[Login]\r\nRemember=1\r\n");
  app.WriteDataFile("remember.xml",
                    "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<Configuration>\r\n"
                    "  <RememberUsername>ann</RememberUsername>\r\n"
                    "  <RememberPassword>s&amp;cret</RememberPassword>\r\n</Configuration>\r\n");
  app.Start();
  QVERIFY(app.Find<QCheckBox>("Remember")->isChecked());
  QCOMPARE(app.Find<QLineEdit>("HomeUsername")->text(), QStringLiteral("ann"));
  QCOMPARE(app.Find<QLineEdit>("HomePassword")->text(), QStringLiteral("s&cret"));
  QCOMPARE(app.Find<QLineEdit>("HomePassword")->echoMode(), QLineEdit::Password);
  QVERIFY(app.Find<QPushButton>("Login")->isEnabled());
  QCOMPARE(app.Forms().TwitterLogin().RememberedUsername(), QStringLiteral("ann"));
}

void MainWindowTest::loginButtonNeedsTwoCharactersInBothBoxes_data() {
  QTest::addColumn<QString>("user");
  QTest::addColumn<QString>("password");
  QTest::addColumn<bool>("enabled");
  QTest::newRow("both empty") << QString() << QString() << false;
  QTest::newRow("one and two") << QStringLiteral("a") << QStringLiteral("pw") << false;
  QTest::newRow("two and one") << QStringLiteral("an") << QStringLiteral("p") << false;
  QTest::newRow("two and two") << QStringLiteral("an") << QStringLiteral("pw") << true;
  QTest::newRow("blanks count") << QStringLiteral("  ") << QStringLiteral("  ") << true;
}

void MainWindowTest::loginButtonNeedsTwoCharactersInBothBoxes() {
  QFETCH(QString, user);
  QFETCH(QString, password);
  QFETCH(bool, enabled);
  GuiFixture app;
  app.Start();
  QLineEdit* user_box = app.Find<QLineEdit>("HomeUsername");
  QLineEdit* password_box = app.Find<QLineEdit>("HomePassword");
  QTest::keyClicks(user_box, user);
  QTest::keyClicks(password_box, password);
  QCOMPARE(app.Find<QPushButton>("Login")->isEnabled(), enabled);
  if (enabled) {
    // Dropping to one character disables it at once.
    QTest::keyClick(password_box, Qt::Key_Backspace);
    QVERIFY(!app.Find<QPushButton>("Login")->isEnabled());
  }
}

void MainWindowTest::signInSucceeds() {
  LoopbackHttpServer server;
  ScriptGoodAccount(server);
  GuiFixture app(server.Host());
  app.Start();
  app.Find<QCheckBox>("Remember")->setChecked(true);
  QSignalSpy page_loaded(&app.Kiv().ClientTweets(), &plumwit::TimelineView::PageLoaded);
  app.SignIn(QStringLiteral("ann"), QStringLiteral("secret"));

  QVERIFY2(app.messages.isEmpty(), qPrintable(app.messages.join(QLatin1Char('|'))));
  QCOMPARE(app.Kiv().windowTitle(), QStringLiteral("       Plumwit 1.7.2 - Ann Example"));
  QCOMPARE(Layout(app), QStringLiteral("00111"));
  QCOMPARE(ToolBarStates(app), QStringLiteral("111111"));
  QCOMPARE(TrayStates(app), QStringLiteral("111"));
  QCOMPARE(LoginLogout(app)->ImageIndex(), 18);
  QCOMPARE(Hint(LoginLogout(app)), QStringLiteral("Logout from your Twitter Account"));
  QCOMPARE(app.Find<QLabel>("TweetsLabel")->text(), QStringLiteral("Tweets: 0042"));
  QCOMPARE(app.Find<QLabel>("FollowersLabel")->text(), QStringLiteral("Followers: 1,234"));
  QCOMPARE(app.Find<QLabel>("FollowingLabel")->text(), QStringLiteral("Following: 56"));
  QCOMPARE(app.Kiv().Account().AccountName, std::string("ann"));
  QCOMPARE(app.Kiv().Account().ScreenName, std::string("ann"));
  QCOMPARE(app.Kiv().Account().ProfileLocation, std::string("Lisbon"));
  // The tray's tooltip keeps the title whatever the caption says.
  QCOMPARE(app.Kiv().findChild<QSystemTrayIcon*>(QStringLiteral("Tray"))->toolTip(),
           QStringLiteral("Plumwit 1.7.2"));

  const plumwit::IniFile settings(app.ProgramFolder() + "settings.kiv");
  QVERIFY(settings.ReadBool("Login", "Remember", false));
  const std::string store = app.ReadDataFile("remember.xml");
  QVERIFY(store.find("<RememberUsername>ann</RememberUsername>") != std::string::npos);
  QVERIFY(store.find("<RememberPassword>secret</RememberPassword>") != std::string::npos);

  const auto requests = server.Requests();
  QVERIFY(requests.size() >= 2);
  QVERIFY(QByteArray::fromStdString(requests[0]).startsWith("GET /users/show/ann HTTP/1.1\r\n"));
  QVERIFY(QByteArray::fromStdString(requests[1])
              .startsWith("GET /statuses/home_timeline/ann.xml?count=20 HTTP/1.1\r\n"));
  const std::string authorization =
      "Authorization: Basic " + QByteArray("ann:secret").toBase64().toStdString();
  QVERIFY(requests[0].find(authorization) != std::string::npos);
  QVERIFY(requests[1].find(authorization) != std::string::npos);

  QVERIFY(page_loaded.wait(15000));
  QCOMPARE(page_loaded.first().first().toBool(), true);
}

void MainWindowTest::signInWithoutRememberingForgetsTheStore() {
  LoopbackHttpServer server;
  ScriptGoodAccount(server);
  GuiFixture app(server.Host());
  app.WriteProgramFile("settings.kiv", "[Login]\r\nRemember=1\r\n");
  app.WriteDataFile("remember.xml",
                    "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<Configuration>\r\n"
                    "  <RememberUsername>old</RememberUsername>\r\n"
                    "  <RememberPassword>oldpw</RememberPassword>\r\n</Configuration>\r\n");
  app.Start();
  app.Find<QCheckBox>("Remember")->setChecked(false);
  app.SignIn(QStringLiteral("ann"), QStringLiteral("secret"));
  QCOMPARE(LoginLogout(app)->ImageIndex(), 18);
  QVERIFY(
      !plumwit::IniFile(app.ProgramFolder() + "settings.kiv").ReadBool("Login", "Remember", true));
  const std::string store = app.ReadDataFile("remember.xml");
  QVERIFY(store.find("<RememberUsername/>") != std::string::npos);
  QVERIFY(store.find("<RememberPassword/>") != std::string::npos);
}

// A full disk or a folder that cannot be made: the sign-in completes as
// ever, and then the default error display says the sign-in is not kept.
void MainWindowTest::storeThatCannotBeSavedIsReportedAfterTheSignIn() {
  LoopbackHttpServer server;
  ScriptGoodAccount(server);
  GuiFixture app(server.Host());
  // A file where the data folder should be: no folder can be made there,
  // whoever runs the test.
  const QString folder = QString::fromStdString(app.DataFolder());
  QVERIFY(QDir(folder).removeRecursively());
  QFile blocker(folder);
  QVERIFY(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  app.Start();
  app.Find<QCheckBox>("Remember")->setChecked(true);
  app.SignIn(QStringLiteral("ann"), QStringLiteral("secret"));

  QCOMPARE(LoginLogout(app)->ImageIndex(), 18);
  QCOMPARE(Layout(app), QStringLiteral("00111"));
  QVERIFY2(app.messages.isEmpty(), qPrintable(app.messages.join(QLatin1Char('|'))));
  QCOMPARE(app.errors,
           QStringList{QStringLiteral("Unable to write to ") + folder + "/remember.xml."});
  const plumwit::IniFile settings(app.ProgramFolder() + "settings.kiv");
  QVERIFY(settings.ReadBool("Login", "Remember", false));
  app.Stop();
  QVERIFY(QFile::remove(folder));
  QVERIFY(QDir().mkdir(folder));
}

void MainWindowTest::unwritableConfigFolderOfAnInstalledCopyStillSignsIn_data() {
  QTest::addColumn<bool>("file_in_place_of_the_folder");
  QTest::addColumn<QStringList>("unwritten");
  QTest::newRow("a file where the folder should be")
      << true << QStringList{QStringLiteral("remember.xml"), QStringLiteral("settings.kiv")};
  QTest::newRow("a read-only settings file")
      << false << QStringList{QStringLiteral("settings.kiv")};
}

// An installed copy keeps the settings and the store in the user's config
// folder. When that cannot be written, the sign-in completes all the same and
// then says, once, which files it could not write; nothing on disk is lost.
void MainWindowTest::unwritableConfigFolderOfAnInstalledCopyStillSignsIn() {
  QFETCH(bool, file_in_place_of_the_folder);
  QFETCH(QStringList, unwritten);
  LoopbackHttpServer server;
  ScriptGoodAccount(server);
  const ConfigHome config_home;
  const QString folder = config_home.ProgramFolder();
  const QString settings_path = folder + "/settings.kiv";
  const QByteArray settings = "[Login]\r\nRemember=0\r\n";
  if (file_in_place_of_the_folder) {
    Spill(folder, "not a folder");
  } else {
    QVERIFY(QDir().mkdir(folder));
    Spill(settings_path, settings);
    QVERIFY(QFile::setPermissions(settings_path, QFile::ReadOwner | QFile::ReadGroup));
  }
  GuiFixture app(server.Host());
  app.installed_layout = true;
  app.Start();
  QCOMPARE(QString::fromStdString(app.Kiv().SettingsPath()), settings_path);
  app.Find<QCheckBox>("Remember")->setChecked(true);
  app.SignIn(QStringLiteral("ann"), QStringLiteral("secret"));

  QCOMPARE(LoginLogout(app)->ImageIndex(), 18);
  QCOMPARE(Layout(app), QStringLiteral("00111"));
  QCOMPARE(app.Kiv().windowTitle(), QStringLiteral("       Plumwit 1.7.2 - Ann Example"));
  QVERIFY2(app.messages.isEmpty(), qPrintable(app.messages.join(QLatin1Char('|'))));
  QStringList lines;
  for (const QString& name : unwritten)
    lines << QStringLiteral("Unable to write to ") + folder + "/" + name;
  QCOMPARE(app.errors, QStringList{lines.join(QStringLiteral("\r\n")) + "."});
  if (file_in_place_of_the_folder) {
    QCOMPARE(Slurp(folder), QByteArray("not a folder"));
  } else {
    QCOMPARE(Slurp(settings_path), settings);
    QVERIFY(Slurp(folder + "/remember.xml").contains("<RememberUsername>ann</RememberUsername>"));
  }
  QVERIFY(!app.ProgramFileExists("settings.kiv"));
  app.Stop();
}

// The status code tells an unknown user, not the reason phrase, which a
// service may leave out.
void MainWindowTest::notFoundWithoutReasonPhraseIsAnUnknownUser() {
  LoopbackHttpServer server;
  server.Script("/users/show/nobody", "404", "text/html", "");
  GuiFixture app(server.Host());
  app.Start();
  app.SignIn(QStringLiteral("nobody"), QStringLiteral("secret"));
  QCOMPARE(app.messages.size(), 1);
  QVERIFY2(app.messages.first().startsWith(
               QStringLiteral("You have an error in your login details:\r\n  - the entered "
                              "Username is incorect.")),
           qPrintable(app.messages.first()));
  QCOMPARE(Layout(app), QStringLiteral("11000"));
  QVERIFY(!app.ProgramFileExists("settings.kiv"));
}

void MainWindowTest::unknownUserIsReportedAndNothingIsWritten() {
  LoopbackHttpServer server;  // every path answers 404
  GuiFixture app(server.Host());
  app.Start();
  app.SignIn(QStringLiteral("nobody"), QStringLiteral("secret"));
  QCOMPARE(
      app.messages,
      QStringList{QStringLiteral("You have an error in your login details:\r\n  - the entered "
                                 "Username is incorect.\r\n\r\n Tips: "
                                 "\r\n  - try to login again ( maybe you did not entered your "
                                 "username )\r\n  - if you do not have "
                                 "an twitter account you can create new one on ") +
                  QString::fromUtf8(plumwit::build::kServiceSite) + QStringLiteral(" homepage")});
  QCOMPARE(Layout(app), QStringLiteral("11000"));
  QCOMPARE(ToolBarStates(app), QStringLiteral("000011"));
  QCOMPARE(TrayStates(app), QStringLiteral("000"));
  QCOMPARE(app.Kiv().windowTitle(), kStartCaption);
  QVERIFY(!app.ProgramFileExists("settings.kiv"));
  QVERIFY(!app.DataFileExists("remember.xml"));
  QVERIFY(app.Kiv().Account().AccountName.empty());
  QCOMPARE(server.Paths(), std::vector<std::string>{"/users/show/nobody"});
}

void MainWindowTest::unresolvableHostIsReportedAsNoConnection() {
  GuiFixture app("no-such-host.invalid");
  app.Start();
  app.SignIn(QStringLiteral("ann"), QStringLiteral("secret"));
  QCOMPARE(app.messages,
           QStringList{QStringLiteral("There is a problem with your internet connection:\r\n  - it "
                                      "seems that you have no internet "
                                      "connection.\r\n\r\n Tip: try connect to the internet and "
                                      "then login to your twitter account from "
                                      "Plumwit.")});
  QCOMPARE(Layout(app), QStringLiteral("11000"));
  QVERIFY(!app.ProgramFileExists("settings.kiv"));
}

void MainWindowTest::otherSignInFailuresRestoreTheSignInGroup_data() {
  QTest::addColumn<QString>("status");
  QTest::addColumn<QString>("body");
  QTest::addColumn<QString>("message_start");
  QTest::newRow("server error") << QStringLiteral("500 Internal Server Error")
                                << QStringLiteral("oops")
                                << QStringLiteral("Error : HTTP/1.1 500 Internal Server Error");
  QTest::newRow("not XML") << QStringLiteral("200 OK") << QStringLiteral("<user><name>x</user>")
                           << QStringLiteral("Error : ");
  QTest::newRow("refused connection")
      << QString() << QString() << QStringLiteral("Error : Socket Error # 10061");
}

void MainWindowTest::otherSignInFailuresRestoreTheSignInGroup() {
  QFETCH(QString, status);
  QFETCH(QString, body);
  QFETCH(QString, message_start);
  LoopbackHttpServer server;
  server.Script("/users/show/ann", status.toStdString(), "text/xml", body.toStdString());
  const std::string refusing_host =
      "127.0.0.1:" + std::to_string(plumwit::test::ClosedLoopbackPort());
  GuiFixture app(status.isEmpty() ? refusing_host : server.Host());
  app.Start();
  app.SignIn(QStringLiteral("ann"), QStringLiteral("secret"));
  QCOMPARE(app.messages.size(), 1);
  QVERIFY2(app.messages[0].startsWith(message_start), qPrintable(app.messages[0]));
  QCOMPARE(Layout(app), QStringLiteral("11000"));
  QCOMPARE(ToolBarStates(app), QStringLiteral("000011"));
  QVERIFY(app.errors.isEmpty());
  QVERIFY(!app.ProgramFileExists("settings.kiv"));
}

void MainWindowTest::refusedPasswordOnRefreshShowsTheSignInGroup() {
  LoopbackHttpServer server;
  server.Script("/users/show/ann", "200 OK", "text/xml",
                plumwit::test::UserRecord("Ann Example", "ann", "1", "2", "3"));
  server.Script("/statuses/home_timeline/ann.xml", "401 Unauthorized", "text/xml",
                plumwit::test::RefusalDocument());
  GuiFixture app(server.Host());
  app.Start();
  app.SignIn(QStringLiteral("ann"), QStringLiteral("wrong"));
  QCOMPARE(app.messages,
           QStringList{QStringLiteral(
               "You have an error in your login details:\r\n  - this account password is "
               "incorect.\r\n\r\n Tip: you can try to login again on the login form.")});
  QCOMPARE(Layout(app), QStringLiteral("01000"));
  QCOMPARE(app.Kiv().windowTitle(), kStartCaption);
  // The tool bar and tray stay signed in.
  QCOMPARE(ToolBarStates(app), QStringLiteral("111111"));
  QCOMPARE(TrayStates(app), QStringLiteral("111"));
  QCOMPARE(LoginLogout(app)->ImageIndex(), 18);
}

void MainWindowTest::signOutReturnsToTheSignedOutLayout() {
  LoopbackHttpServer server;
  ScriptGoodAccount(server);
  GuiFixture app(server.Host());
  app.Start();
  app.SignIn(QStringLiteral("ann"), QStringLiteral("secret"));
  const std::size_t requests_before = server.Requests().size();
  LoginLogout(app)->click();

  QCOMPARE(app.Kiv().windowTitle(), QStringLiteral("          Plumwit 1.7.2"));
  QCOMPARE(Layout(app), QStringLiteral("11000"));
  QCOMPARE(ToolBarStates(app), QStringLiteral("000011"));
  QCOMPARE(TrayStates(app), QStringLiteral("100"));
  QCOMPARE(LoginLogout(app)->ImageIndex(), 0);
  QCOMPARE(Hint(LoginLogout(app)), QStringLiteral("Signin to your Account"));
  // Nothing is cleared: one click signs in again.
  QCOMPARE(app.Find<QLineEdit>("HomeUsername")->text(), QStringLiteral("ann"));
  QVERIFY(app.Find<QPushButton>("Login")->isEnabled());
  QCOMPARE(app.Kiv().Account().AccountName, std::string("ann"));
  QCOMPARE(app.Find<QLabel>("TweetsLabel")->text(), QStringLiteral("Tweets: 0042"));
  QCOMPARE(server.Requests().size(), requests_before);
  QVERIFY(app.messages.isEmpty());
}

void MainWindowTest::refreshPeriodFollowsTheSettings_data() {
  QTest::addColumn<QString>("period");
  QTest::addColumn<int>("interval");
  QTest::newRow("5 minutes") << QStringLiteral("5 minutes") << 300000;
  QTest::newRow("15 minutes") << QStringLiteral("15 minutes") << 900000;
  QTest::newRow("1 hour") << QStringLiteral("1 hour") << 3600000;
  QTest::newRow("capital M") << QStringLiteral("15 Minutes") << 0;
  QTest::newRow("missing") << QString() << 0;
}

void MainWindowTest::refreshPeriodFollowsTheSettings() {
  QFETCH(QString, period);
  QFETCH(int, interval);
  GuiFixture app;
  app.WriteProgramFile("settings.kiv",
                       "[Options]\r\nRefreshTimeline=" + period.toStdString() + "\r\n");
  app.Start();
  QVERIFY(app.Kiv().Timer().Enabled());
  QCOMPARE(app.Kiv().Timer().Interval(), interval);
  QCOMPARE(app.Kiv().Timer().IsCounting(), interval > 0);
}

void MainWindowTest::unknownPeriodTextKeepsThePreviousPeriod() {
  GuiFixture app;
  app.WriteProgramFile("settings.kiv", "[Options]\r\nRefreshTimeline=15 minutes\r\n");
  app.Start();
  app.WriteProgramFile("settings.kiv", "[Options]\r\nRefreshTimeline=15 minute\r\n");
  app.Kiv().FormCreate();
  QCOMPARE(app.Kiv().Account().RefreshMinutes, 15);
  QCOMPARE(app.Kiv().Timer().Interval(), 900000);
}

void MainWindowTest::timerRulesForNeverRefresh() {
  LoopbackHttpServer server;
  ScriptGoodAccount(server);
  GuiFixture app(server.Host());
  app.WriteProgramFile("settings.kiv",
                       "[Options]\r\nRefreshTimeline=25 minutes\r\nNeverRefresh=1\r\n");
  app.Start();
  // Signed out with automatic refresh off: the timer keeps its state at creation.
  QVERIFY(!app.Kiv().Timer().Enabled());

  app.SignIn(QStringLiteral("ann"), QStringLiteral("secret"));
  QVERIFY(!app.Kiv().Timer().Enabled());
  // Sign-out reverses the rule: now the timer runs, with the period.
  LoginLogout(app)->click();
  QVERIFY(app.Kiv().Timer().Enabled());
  QCOMPARE(app.Kiv().Timer().Interval(), 25 * 60000);
  // A tick refreshes with the old account and leaves the timer running.
  const std::size_t requests_before = server.Requests().size();
  emit app.Kiv().Timer().Tick();
  QCOMPARE(server.Paths().at(requests_before), std::string("/statuses/home_timeline/ann.xml"));
  QVERIFY(app.Kiv().Timer().Enabled());

  // With automatic refresh on, sign-out switches the timer off.
  app.WriteProgramFile("settings.kiv",
                       "[Options]\r\nRefreshTimeline=25 minutes\r\nNeverRefresh=0\r\n");
  app.SignIn(QStringLiteral("ann"), QStringLiteral("secret"));
  QVERIFY(app.Kiv().Timer().Enabled());
  LoginLogout(app)->click();
  QVERIFY(!app.Kiv().Timer().Enabled());
}

void MainWindowTest::sameTimerSettingsDoNotRestartTheCountdown() {
  plumwit::RefreshTimer timer;
  timer.SetEnabled(true);
  timer.SetInterval(400);
  QSignalSpy ticks(&timer, &plumwit::RefreshTimer::Tick);
  QTest::qWait(250);
  timer.SetEnabled(true);
  timer.SetInterval(400);
  // Not restarted: the tick comes about 150 ms later, well before 400 ms.
  QVERIFY(ticks.wait(300));
  timer.SetInterval(0);
  QVERIFY(timer.Enabled());
  QVERIFY(!timer.IsCounting());
  QVERIFY(!ticks.wait(200));
}

void MainWindowTest::statusBarShowsHintsOfControlsUnderTheMouse() {
  GuiFixture app;
  app.Start();
  app.Kiv().show();
  QVERIFY(QTest::qWaitForWindowExposed(&app.Kiv()));
  QLabel* panel = app.Find<QLabel>("StatusPanel");
  const auto point_at = [&](const char* name) {
    QWidget* control = app.Find<QWidget>(name);
    QCursor::setPos(control->mapToGlobal(control->rect().center()));
  };
  point_at("Login");  // disabled, yet its hint shows
  QTRY_COMPARE(panel->text(), QStringLiteral("Twitter Signin"));
  point_at("Image1");
  QTRY_COMPARE(panel->text(), QString());
  point_at("LoginLogout");
  QTRY_COMPARE(panel->text(), QStringLiteral("Twitter Account Login"));
  point_at("HomePassword");
  QTRY_COMPARE(panel->text(), QStringLiteral("Twitter Password"));
  point_at("sLabelFX2");
  QTRY_COMPARE(panel->text(), QStringLiteral("Visit developer homepage"));
  QVERIFY(app.Find<QWidget>("Login")->toolTip().isEmpty());
}

void MainWindowTest::labelsKeepTheLabelColourAndLinksAreBlue() {
  GuiFixture app;
  app.Start();
  const auto colour_of = [&](const char* name) {
    return app.Find<QWidget>(name)->palette().color(QPalette::WindowText);
  };
  const auto point_at = [&](const char* name) {
    QWidget* label = app.Find<QWidget>(name);
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), label->mapToGlobal(QPointF(1, 1)));
    QApplication::sendEvent(label, &enter);
  };
  const QColor label_colour(43, 53, 77);
  // The web address at the top is a top label, whose colour does not change
  // under the mouse.
  for (const char* name : {"sLabelFX1", "sLabelFX2", "UsernameCaption", "PasswordLabel",
                           "TweetsLabel", "FollowersLabel", "FollowingLabel"}) {
    QVERIFY2(colour_of(name) == label_colour, name);
  }
  point_at("sLabelFX2");
  QCOMPARE(colour_of("sLabelFX2"), label_colour);
  // The sign-in group's links are blue, window-text coloured under the mouse.
  QCOMPARE(colour_of("sWebLabel1"), QColor(0, 0, 255));
  point_at("sWebLabel1");
  // The window text of the skin, not of the desktop.
  QCOMPARE(colour_of("sWebLabel1"), plumwit::SkinPalette().color(QPalette::WindowText));
}

void MainWindowTest::linksGoToTheLinkSeam() {
  GuiFixture app("example.test:8080");
  app.Start();
  app.Kiv().sWebLabel1Click();
  app.Kiv().sWebLabel2Click();
  app.Kiv().sLabelFX2Click();
  app.Kiv().findChild<QAction*>(QStringLiteral("witterhomepage1"))->trigger();
  app.Kiv().findChild<QAction*>(QStringLiteral("Developerhomepage1"))->trigger();
  const QString maker = QString::fromUtf8(plumwit::build::kMakerHome);
  QCOMPARE(app.links,
           (QStringList{QStringLiteral("http://example.test:8080/account/resend_password"),
                        QStringLiteral("http://example.test:8080/signup"), maker,
                        QStringLiteral("http://example.test:8080/"), maker}));
  QVERIFY(app.messages.isEmpty());
}

void MainWindowTest::commandsShowTheirDialogsModally() {
  GuiFixture app;
  app.Start();
  // Never painted: the first command makes the dialogs it needs.
  QVERIFY(!app.Forms().DialogsMade());
  app.Find<PictureToolButton>("ToolButton3")->click();
  app.Find<PictureToolButton>("ToolButton2")->click();
  app.Kiv().findChild<QAction*>(QStringLiteral("AboutTwitterClient1"))->trigger();
  app.Kiv().findChild<QAction*>(QStringLiteral("ClientOptions1"))->trigger();
  app.Kiv().NewTweetClick();
  app.Kiv().ProfilebtnClick();
  QCOMPARE(app.modal_dialogs,
           (QStringList{QStringLiteral("About"), QStringLiteral("Options"), QStringLiteral("About"),
                        QStringLiteral("Options"), QStringLiteral("PostNewTweet"),
                        QStringLiteral("UpdateProfile")}));
}

void MainWindowTest::minimiseAndRestoreSwitchTheShowItem() {
  GuiFixture app;
  app.Start();
  app.Kiv().show();
  QVERIFY(QTest::qWaitForWindowExposed(&app.Kiv()));
  QAction* show_item = app.Kiv().findChild<QAction*>(QStringLiteral("ShowTwitterClient1"));
  // While the window shows, a double-click on the icon changes nothing.
  app.Kiv().TrayDoubleClick();
  QVERIFY(!show_item->isEnabled());

  app.Kiv().showMinimized();
  QTRY_VERIFY(show_item->isEnabled());
  // No notification area under a bare X server: the window stays reachable.
  QCOMPARE(QSystemTrayIcon::isSystemTrayAvailable(), false);
  QVERIFY(app.Kiv().isVisible());

  show_item->trigger();
  QVERIFY(!show_item->isEnabled());
  QVERIFY(!app.Kiv().isMinimized());
  QVERIFY(app.Kiv().isVisible());
  // Not minimised: the item does nothing at all.
  show_item->setEnabled(true);
  show_item->trigger();
  QVERIFY(show_item->isEnabled());
}

void MainWindowTest::unreadableStoreGoesToTheDefaultErrorDisplay() {
  GuiFixture app;
  app.WriteProgramFile("settings.kiv",
                       "[Options]\r\nRefreshTimeline=5 minutes\r\n[Login]\r\nRemember=1\r\n");
  app.WriteDataFile("remember.xml", "<Configuration><RememberUsername>ann</Configuration>");
  app.Start();
  app.Forms().MakeDialogs();
  QVERIFY(!app.errors.isEmpty());
  QVERIFY(app.errors[0].endsWith(QLatin1Char('.')));
  // The steps before the failure stay done; start-up went on.
  QCOMPARE(app.Kiv().Timer().Interval(), 300000);
  QCOMPARE(app.Forms().CreationOrder().back(), std::string("UpdateProfile"));
  QVERIFY(app.Find<QLineEdit>("HomeUsername")->text().isEmpty());
}

void MainWindowTest::defaultErrorTextEndsWithAFullStop_data() {
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("shown");
  QTest::newRow("letter") << QStringLiteral("Unable to write to x")
                          << QStringLiteral("Unable to write to x.");
  QTest::newRow("full stop") << QStringLiteral("Host not found.")
                             << QStringLiteral("Host not found.");
  QTest::newRow("exclamation sorts before") << QStringLiteral("Stop!") << QStringLiteral("Stop!");
  QTest::newRow("slash sorts after") << QStringLiteral("a/") << QStringLiteral("a/.");
  QTest::newRow("empty") << QString() << QString();
}

void MainWindowTest::defaultErrorTextEndsWithAFullStop() {
  QFETCH(QString, message);
  QFETCH(QString, shown);
  QCOMPARE(plumwit::DefaultErrorText(message), shown);
}

void MainWindowTest::theEndSavesTheMainWindowsStore() {
  LoopbackHttpServer server;
  ScriptGoodAccount(server);
  GuiFixture app(server.Host());
  app.Start();
  app.Find<QCheckBox>("Remember")->setChecked(true);
  app.SignIn(QStringLiteral("ann"), QStringLiteral("secret"));
  app.Stop();
  // The sign-in dialog's older copy is saved first, the main window's last.
  const std::string store = app.ReadDataFile("remember.xml");
  QVERIFY(store.find("<RememberUsername>ann</RememberUsername>") != std::string::npos);
}

void MainWindowTest::quitClosesTheMainWindow() {
  GuiFixture app;
  app.Start();
  app.Kiv().show();
  QSignalSpy closed(&app.Kiv(), &plumwit::TKIV::Closed);
  app.Kiv().showMinimized();
  // As in the notification area: minimised and without a taskbar entry.
  app.Kiv().hide();
  app.Kiv().findChild<QAction*>(QStringLiteral("QuitTwitterClient1"))->trigger();
  QCOMPARE(closed.size(), 1);
  QVERIFY(!app.Kiv().isVisible());
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
