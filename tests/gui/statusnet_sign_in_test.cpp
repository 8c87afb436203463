// Signing in, the timeline, posting and the profile in the dialect of GNU
// social and Friendica: against the replayed answers of a real GNU social
// server, and against Friendica's shapes of a refusal and a missing page.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "core/build_config.h"
#include "dialogs/update_profile_dialog.h"
#include "main_window/main_window_texts.h"
#include "support/fixture_replay_server.h"
#include "support/gui_fixture.h"
#include "support/gui_test_main.h"
#include "support/loopback_http_server.h"
#include "support/service_replies.h"
#include "timeline/timeline_view.h"
#include "ui/limited_memo.h"

using plumwit::ServiceDialect;
using plumwit::test::FixtureReplayServer;
using plumwit::test::GuiFixture;
using plumwit::test::LoopbackHttpServer;

Q_DECLARE_METATYPE(ServiceDialect)

namespace {

const QString kAccount = QString::fromLatin1(FixtureReplayServer::kAccount);
const QString kRightPassword = QString::fromLatin1(FixtureReplayServer::kPassword);
const QString kStartCaption = QStringLiteral("         Plumwit 1.7.2");

// A page Friendica serves in place of an interface answer: HTML that is no
// well-formed XML.
const std::string kHtmlPage =
    "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Friendica</title></head>"
    "<body><p>Permission denied.<br></body></html>";

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

QString UnknownUserMessage() {
  return Text(plumwit::texts::kUnknownUserMessage) + Text(plumwit::build::kServiceSite) +
         Text(plumwit::texts::kUnknownUserMessageEnd);
}

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

QString PageText(plumwit::TimelineView& view) {
  QString text;
  bool done = false;
  view.RunJavaScript(QStringLiteral("document.body.innerText"), [&](const QVariant& value) {
    text = value.toString();
    done = true;
  });
  if (!QTest::qWaitFor([&] { return done; }, 10000)) qWarning("the page's script gave no answer");
  return text;
}

// A remembered sign-in of someone else, so a refused sign-in can be seen to
// leave it alone.
void WriteEarlierSignIn(GuiFixture& app) {
  app.WriteProgramFile("settings.kiv", "[Login]\r\nRemember=1\r\n");
  app.WriteDataFile("remember.xml",
                    "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<Configuration>\r\n"
                    "  <RememberUsername>old</RememberUsername>\r\n"
                    "  <RememberPassword>oldpw</RememberPassword>\r\n</Configuration>\r\n");
}

// The window as a failed sign-in leaves it, and nothing of it written.
void VerifyNothingWritten(GuiFixture& app, const std::string& settings, const std::string& store) {
  QCOMPARE(Layout(app), QStringLiteral("11000"));
  QCOMPARE(app.Kiv().windowTitle(), kStartCaption);
  QVERIFY(!app.Kiv().SignedIn());
  QVERIFY(app.Kiv().Account().AccountName.empty());
  QVERIFY(app.Kiv().Account().ScreenName.empty());
  QCOMPARE(app.ReadProgramFile("settings.kiv"), settings);
  QCOMPARE(app.ReadDataFile("remember.xml"), store);
}

}  // namespace

class StatusNetSignInTest : public QObject {
  Q_OBJECT

 private slots:
  void rightPasswordSignsInAndShowsTheTimeline();
  void wrongPasswordOnAPublicSiteEndsAtTheSignInGroup();
  void unknownUserIsReportedAndNothingIsWritten();
  void notFoundIsKnownByItsCode_data();
  void notFoundIsKnownByItsCode();
  void refusedRecordEndsTheSignInAtOnce();
  void refusedTimelineTakesTheWrongPasswordPath_data();
  void refusedTimelineTakesTheWrongPasswordPath();
  void postingAndTheProfileUseTheDialectsInterface();
};

void StatusNetSignInTest::rightPasswordSignsInAndShowsTheTimeline() {
  FixtureReplayServer server;
  GuiFixture app(server.Host());
  app.service_dialect = ServiceDialect::kStatusNet;
  app.Start();
  QSignalSpy page_loaded(&app.Kiv().ClientTweets(), &plumwit::TimelineView::PageLoaded);
  app.SignIn(kAccount, kRightPassword);

  QVERIFY2(app.messages.isEmpty(), qPrintable(app.messages.join(QLatin1Char('|'))));
  QCOMPARE(Layout(app), QStringLiteral("00111"));
  QCOMPARE(app.Kiv().windowTitle(), QStringLiteral("       Plumwit 1.7.2 - alice"));
  QCOMPARE(app.Find<QLabel>("TweetsLabel")->text(), QStringLiteral("Tweets: 2"));
  QCOMPARE(app.Find<QLabel>("FollowersLabel")->text(), QStringLiteral("Followers: 1"));
  QCOMPARE(server.RequestLines(),
           (std::vector<std::string>{"GET /api/users/show.xml?screen_name=alice HTTP/1.1",
                                     "GET /api/statuses/home_timeline.xml?count=20 HTTP/1.1"}));

  QVERIFY(page_loaded.wait(15000));
  const QString page = PageText(app.Kiv().ClientTweets());
  for (const char* status :
       {"@bob replying to bob", "hello from alice", "café & <tags> 100%", "first post from bob"}) {
    QVERIFY2(page.contains(Text(status)), status);
  }
}

// The record is shown to any password, so the sign-in goes on; the timeline,
// which takes its account from the credentials, refuses them.
void StatusNetSignInTest::wrongPasswordOnAPublicSiteEndsAtTheSignInGroup() {
  FixtureReplayServer server;
  GuiFixture app(server.Host());
  app.service_dialect = ServiceDialect::kStatusNet;
  app.Start();
  QSignalSpy page_loaded(&app.Kiv().ClientTweets(), &plumwit::TimelineView::PageLoaded);
  app.SignIn(kAccount, QStringLiteral("wrong-password"));

  QCOMPARE(app.messages, QStringList{Text(plumwit::texts::kWrongPasswordMessage)});
  QCOMPARE(Layout(app), QStringLiteral("01000"));
  QCOMPARE(app.Kiv().windowTitle(), kStartCaption);
  QCOMPARE(server.RequestLines().size(), std::size_t{2});
  QTest::qWait(200);
  QCOMPARE(page_loaded.count(), 0);
}

void StatusNetSignInTest::unknownUserIsReportedAndNothingIsWritten() {
  FixtureReplayServer server;
  GuiFixture app(server.Host());
  app.service_dialect = ServiceDialect::kStatusNet;
  app.Start();
  app.SignIn(QStringLiteral("nosuchuser"), QStringLiteral("whatever"));

  QCOMPARE(app.messages, QStringList{UnknownUserMessage()});
  VerifyNothingWritten(app, "", "");
  QVERIFY(!app.ProgramFileExists("settings.kiv"));
  QCOMPARE(server.RequestLines(),
           std::vector<std::string>{"GET /api/users/show.xml?screen_name=nosuchuser HTTP/1.1"});
}

void StatusNetSignInTest::notFoundIsKnownByItsCode_data() {
  QTest::addColumn<ServiceDialect>("dialect");
  QTest::addColumn<QString>("status");
  QTest::newRow("Friendica's reason phrase")
      << ServiceDialect::kStatusNet << QStringLiteral("404 Page not found.");
  QTest::newRow("classic, no reason phrase") << ServiceDialect::kClassic << QStringLiteral("404");
  QTest::newRow("classic, another phrase")
      << ServiceDialect::kClassic << QStringLiteral("404 Page not found.");
}

void StatusNetSignInTest::notFoundIsKnownByItsCode() {
  QFETCH(ServiceDialect, dialect);
  QFETCH(QString, status);
  LoopbackHttpServer server;
  for (const char* path : {"/users/show.xml", "/users/show/ann"}) {
    server.Script(path, status.toStdString(), "text/html", kHtmlPage);
  }
  GuiFixture app(server.Host());
  app.service_dialect = dialect;
  app.Start();
  app.SignIn(QStringLiteral("ann"), QStringLiteral("secret"));

  QCOMPARE(app.messages, QStringList{UnknownUserMessage()});
  VerifyNothingWritten(app, "", "");
  QCOMPARE(server.Requests().size(), std::size_t{1});
}

// Friendica answers a wrong password and an unknown account alike, with a
// 401 and an HTML page, on the record already.
void StatusNetSignInTest::refusedRecordEndsTheSignInAtOnce() {
  LoopbackHttpServer server;
  server.Script("/users/show.xml", "401 Unauthorized", "text/html", kHtmlPage);
  GuiFixture app(server.Host());
  app.service_dialect = ServiceDialect::kStatusNet;
  WriteEarlierSignIn(app);
  const std::string settings = app.ReadProgramFile("settings.kiv");
  const std::string store = app.ReadDataFile("remember.xml");
  app.Start();
  app.Find<QCheckBox>("Remember")->setChecked(false);
  app.SignIn(QStringLiteral("ann"), QStringLiteral("wrong"));

  QCOMPARE(app.messages,
           QStringList{QStringLiteral(
               "You have an error in your login details:\r\n  - the entered Username or password "
               "is incorect.\r\n\r\n Tip: you can try to login again on the login form.")});
  VerifyNothingWritten(app, settings, store);
  QCOMPARE(app.Find<QLineEdit>("HomeUsername")->text(), QStringLiteral("ann"));
  QCOMPARE(server.Paths(), std::vector<std::string>{"/users/show.xml"});
}

void StatusNetSignInTest::refusedTimelineTakesTheWrongPasswordPath_data() {
  QTest::addColumn<ServiceDialect>("dialect");
  QTest::addColumn<QString>("timeline_path");
  QTest::addColumn<QString>("content_type");
  QTest::addColumn<QString>("body");
  const QString refusal = QString::fromStdString(plumwit::test::RefusalDocument());
  const QString page = QString::fromStdString(kHtmlPage);
  const QString classic_path = QStringLiteral("/statuses/home_timeline/ann.xml");
  const QString statusnet_path = QStringLiteral("/statuses/home_timeline.xml");
  QTest::newRow("classic, XML") << ServiceDialect::kClassic << classic_path
                                << QStringLiteral("text/xml") << refusal;
  QTest::newRow("classic, HTML") << ServiceDialect::kClassic << classic_path
                                 << QStringLiteral("text/html") << page;
  QTest::newRow("statusnet, HTML")
      << ServiceDialect::kStatusNet << statusnet_path << QStringLiteral("text/html") << page;
  QTest::newRow("statusnet, empty")
      << ServiceDialect::kStatusNet << statusnet_path << QStringLiteral("text/html") << QString();
}

void StatusNetSignInTest::refusedTimelineTakesTheWrongPasswordPath() {
  QFETCH(ServiceDialect, dialect);
  QFETCH(QString, timeline_path);
  QFETCH(QString, content_type);
  QFETCH(QString, body);
  LoopbackHttpServer server;
  const std::string record = plumwit::test::UserRecord("Ann Example", "ann", "1", "2", "3");
  server.Script("/users/show/ann", "200 OK", "text/xml", record);
  server.Script("/users/show.xml", "200 OK", "text/xml", record);
  server.Script(timeline_path.toStdString(), "401 Unauthorized", content_type.toStdString(),
                body.toStdString());
  GuiFixture app(server.Host());
  app.service_dialect = dialect;
  app.Start();
  QSignalSpy page_loaded(&app.Kiv().ClientTweets(), &plumwit::TimelineView::PageLoaded);
  app.SignIn(QStringLiteral("ann"), QStringLiteral("wrong"));

  QCOMPARE(app.messages, QStringList{Text(plumwit::texts::kWrongPasswordMessage)});
  QCOMPARE(Layout(app), QStringLiteral("01000"));
  QCOMPARE(app.Kiv().windowTitle(), kStartCaption);
  QVERIFY(server.WasRequested(timeline_path.toStdString()));
  QTest::qWait(200);
  QCOMPARE(page_loaded.count(), 0);
}

// The profile dialog's opening fetch, the profile update and the tweet box
// reach the same interface as the sign-in.
void StatusNetSignInTest::postingAndTheProfileUseTheDialectsInterface() {
  FixtureReplayServer server;
  GuiFixture app(server.Host());
  app.service_dialect = ServiceDialect::kStatusNet;
  app.Start();
  app.SignIn(kAccount, kRightPassword);
  QVERIFY(app.messages.isEmpty());

  plumwit::TUpdateProfile& profile = app.Forms().UpdateProfile();
  profile.show();
  QCOMPARE(profile.UserName->text(), kAccount);
  profile.RealName->setText(QStringLiteral("Alice A."));
  profile.sButton2->click();
  QCOMPARE(app.messages, QStringList{QStringLiteral("Your ") + Text(plumwit::build::kServiceSite) +
                                     QStringLiteral(" profile was successfully updated!")});

  app.Find<plumwit::LimitedMemo>("Tweet")->SetText(QStringLiteral("hello there"));
  app.Find<QPushButton>("tweetbtn")->click();
  QCOMPARE(app.messages.size(), 1);

  const std::vector<std::string> lines = server.RequestLines();
  QCOMPARE(lines.size(), std::size_t{6});
  QCOMPARE(lines[2], std::string("GET /api/users/show.xml?screen_name=alice HTTP/1.1"));
  QCOMPARE(lines[3], std::string("POST /api/account/update_profile.xml?name=Alice%20A."
                                 "&screen_name=alice&location=&description=&url= HTTP/1.0"));
  QCOMPARE(lines[4], std::string("POST /api/statuses/update.xml?status=hello%20there HTTP/1.0"));
  QCOMPARE(lines[5], std::string("GET /api/statuses/home_timeline.xml?count=20 HTTP/1.1"));
}

PLUMWIT_GUI_TEST_MAIN(StatusNetSignInTest)
#include "statusnet_sign_in_test.moc"
