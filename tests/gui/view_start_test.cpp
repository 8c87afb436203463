// When the timeline's web view comes to be: not with the window, but once a
// sign-in is on its way; and what a missing or broken view module does.
#include <qpa/qplatformbackingstore.h>
#include <QBackingStore>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QWebEngineView>
#include <QWindow>
#include <QtTest>

#include "support/gui_fixture.h"
#include "support/gui_test_main.h"
#include "support/loopback_http_server.h"
#include "support/service_replies.h"
#include "timeline/timeline_view.h"
#include "timeline/view_module.h"

using plumwit::TimelineView;
using plumwit::ViewModule;
using plumwit::test::GuiFixture;
using plumwit::test::LoopbackHttpServer;

namespace {

void ShowAndWait(GuiFixture& app) {
  app.Kiv().show();
  QVERIFY(QTest::qWaitForWindowExposed(&app.Kiv()));
}

void RememberSignIn(GuiFixture& app) {
  app.WriteProgramFile("settings.kiv", "[Login]\r\nRemember=1\r\n");
  app.WriteDataFile("remember.xml",
                    "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<Configuration>\r\n"
                    "  <RememberUsername>ann</RememberUsername>\r\n"
                    "  <RememberPassword>secret</RememberPassword>\r\n</Configuration>\r\n");
}

QString ScriptResult(TimelineView& view, const QString& script) {
  QString result;
  bool done = false;
  view.RunJavaScript(script, [&](const QVariant& value) {
    result = value.toString();
    done = true;
  });
  if (!QTest::qWaitFor([&] { return done; }, 10000)) qWarning("the page's script gave no answer");
  return result;
}

}  // namespace

class ViewStartTest : public QObject {
  Q_OBJECT

 private slots:
  void moduleIsLookedForBesideTheProgram();
  void untouchedWindowStartsNoEngine();
  void startingTheEngineKeepsTheNativeWindow();
  void rememberedSignInStartsTheEngineOnceShown();
  void refreshBeforeTheEngineShowsItsPage();
  void unusableModuleIsReportedOnceAtStartUp_data();
  void unusableModuleIsReportedOnceAtStartUp();
  void moduleWithoutEntryPointIsReportedOnce();
};

// Installed: bin/../lib/<multiarch>/plumwit; built: lib/plumwit beside the
// program.
void ViewStartTest::moduleIsLookedForBesideTheProgram() {
  const QStringList candidates = ViewModule::Candidates(QStringLiteral("/opt/pw/bin"));
  QVERIFY2(candidates.first().startsWith(QStringLiteral("/opt/pw/lib/")),
           qPrintable(candidates.first()));
  QVERIFY2(candidates.first().endsWith(QStringLiteral("/plumwit/plumwit-view.so")),
           qPrintable(candidates.first()));
  QVERIFY(candidates.contains(QStringLiteral("/opt/pw/lib/plumwit/plumwit-view.so")));
  QCOMPARE(candidates.last(), QStringLiteral("/opt/pw/bin/lib/plumwit/plumwit-view.so"));
}

void ViewStartTest::untouchedWindowStartsNoEngine() {
  GuiFixture app;
  app.Start();
  ShowAndWait(app);
  QTest::qWait(800);
  TimelineView& view = app.Kiv().ClientTweets();
  QVERIFY(!view.EngineStarted());
  // The first keystroke in either box starts it.
  QTest::keyClicks(app.Find<QLineEdit>("HomePassword"), QStringLiteral("s"));
  QTRY_VERIFY_WITH_TIMEOUT(view.EngineStarted(), 10000);
  QVERIFY(app.errors.isEmpty());
}

// The web view draws through OpenGL. The window has the surface for that from
// the start, so the engine's start gives it no new native window (which would
// lose what is being typed), but it composes through OpenGL only from then on.
void ViewStartTest::startingTheEngineKeepsTheNativeWindow() {
  GuiFixture app;
  app.Start();
  ShowAndWait(app);
  QWidget& window = app.Kiv();
  const WId native_window = window.winId();
  QCOMPARE(window.windowHandle()->surfaceType(), QSurface::OpenGLSurface);
  QVERIFY(window.backingStore()->handle()->rhi() == nullptr);

  auto* user_name = app.Find<QLineEdit>("HomeUsername");
  QTest::keyClicks(user_name, QStringLiteral("an"));
  TimelineView& view = app.Kiv().ClientTweets();
  QTRY_VERIFY_WITH_TIMEOUT(view.EngineStarted(), 10000);
  QTest::keyClicks(user_name, QStringLiteral("n"));
  QVERIFY(view.Browser() != nullptr);
  QTest::qWait(500);

  QCOMPARE(window.winId(), native_window);
  QVERIFY(window.backingStore()->handle()->rhi() != nullptr);
  QCOMPARE(user_name->text(), QStringLiteral("ann"));
  QVERIFY(app.errors.isEmpty());
}

void ViewStartTest::rememberedSignInStartsTheEngineOnceShown() {
  GuiFixture app;
  RememberSignIn(app);
  app.Start();
  TimelineView& view = app.Kiv().ClientTweets();
  QTest::qWait(300);
  QVERIFY(!view.EngineStarted());
  ShowAndWait(app);
  QTRY_VERIFY_WITH_TIMEOUT(view.EngineStarted(), 10000);
}

// A refresh while nobody is signed in, before anything started the engine:
// the page is built and is there when the view shows.
void ViewStartTest::refreshBeforeTheEngineShowsItsPage() {
  LoopbackHttpServer server;
  server.Script("/statuses/home_timeline/.xml", "200 OK", "text/xml",
                plumwit::test::OneStatusTimeline("Fetched while signed out",
                                                 "http://" + server.Host() + "/none.png"));
  GuiFixture app(server.Host());
  app.Start();
  TimelineView& view = app.Kiv().ClientTweets();
  QVERIFY(!view.EngineStarted());
  QSignalSpy loaded(&view, &TimelineView::PageLoaded);
  app.Kiv().RefreshTweetsClick();
  QVERIFY(loaded.wait(20000));
  view.show();
  QVERIFY(ScriptResult(view, QStringLiteral("document.body.innerText"))
              .contains(QStringLiteral("Fetched while signed out")));
}

void ViewStartTest::unusableModuleIsReportedOnceAtStartUp_data() {
  QTest::addColumn<QByteArray>("bytes");  // empty: no file at all
  QTest::addColumn<QString>("reason");
  QTest::newRow("missing") << QByteArray() << QStringLiteral("not found");
  QTest::newRow("not a library") << QByteArray("#!/bin/sh\necho not a library\n")
                                 << QStringLiteral("not a shared library");
  QTest::newRow("truncated") << QByteArray(
                                    "\x7f"
                                    "ELF\x02\x01",
                                    6)
                             << QStringLiteral("not a shared library");
}

void ViewStartTest::unusableModuleIsReportedOnceAtStartUp() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, reason);
  GuiFixture app;
  app.view_module_file = app.ProgramFolder() + "plumwit-view.so";
  if (!bytes.isEmpty()) app.WriteProgramFile("plumwit-view.so", bytes.toStdString());
  app.Start();
  ShowAndWait(app);
  QTRY_COMPARE_WITH_TIMEOUT(app.errors.size(), 1, 5000);
  QVERIFY2(app.errors[0].startsWith(QStringLiteral("The timeline cannot be shown")),
           qPrintable(app.errors[0]));
  QVERIFY2(app.errors[0].contains(reason), qPrintable(app.errors[0]));
  // The rest of the window works, and nothing says it again.
  QTest::keyClicks(app.Find<QLineEdit>("HomeUsername"), QStringLiteral("ann"));
  QTest::keyClicks(app.Find<QLineEdit>("HomePassword"), QStringLiteral("secret"));
  QVERIFY(app.Find<QPushButton>("Login")->isEnabled());
  app.Kiv().ClientTweets().LoadPage("<html><body>lost</body></html>");
  QTest::qWait(300);
  QCOMPARE(app.errors.size(), 1);
  QVERIFY(!app.Kiv().ClientTweets().EngineStarted());
}

// A library that loads but is not the view module: found out when the view
// is first wanted, said once.
void ViewStartTest::moduleWithoutEntryPointIsReportedOnce() {
  GuiFixture app;
  app.view_module_file = PLUMWIT_NOT_A_VIEW_MODULE;
  app.Start();
  ShowAndWait(app);
  QTest::qWait(300);
  QVERIFY(app.errors.isEmpty());
  QTest::keyClicks(app.Find<QLineEdit>("HomeUsername"), QStringLiteral("ann"));
  QTRY_COMPARE_WITH_TIMEOUT(app.errors.size(), 1, 5000);
  QVERIFY2(app.errors[0].contains(QStringLiteral("plumwit_create_timeline_engine")),
           qPrintable(app.errors[0]));
  app.Kiv().ClientTweets().LoadPage("<html><body>lost</body></html>");
  QTest::qWait(300);
  QCOMPARE(app.errors.size(), 1);
}

PLUMWIT_GUI_TEST_MAIN(ViewStartTest)
#include "view_start_test.moc"
