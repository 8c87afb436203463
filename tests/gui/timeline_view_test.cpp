// The timeline view on Qt WebEngine: pages handed over in memory, their
// stylesheet, pictures and scripts, markup in statuses, and "_blank" links.
#include <QBuffer>
#include <QImage>
#include <QSignalSpy>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

#include "core/service/xml_document.h"
#include "core/timeline/page_builder.h"
#include "support/gui_fixture.h"
#include "support/loopback_http_server.h"
#include "support/service_replies.h"
#include "timeline/timeline_view.h"

using plumwit::TimelineView;
using plumwit::test::GuiFixture;
using plumwit::test::LoopbackHttpServer;

namespace {

std::string SmallPng() {
  QImage picture(8, 8, QImage::Format_RGB32);
  picture.fill(QColor(30, 140, 220));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, "PNG");
  return bytes.toStdString();
}

// The page the refresh would build from a timeline document.
std::string TimelinePage(const std::string& timeline_xml, const std::string& program_folder,
                         const std::string& host) {
  plumwit::XmlDocument document;
  document.Load(timeline_xml);
  plumwit::PageContext context;
  context.program_folder = program_folder;
  context.service_host = host;
  plumwit::PageLines lines;
  plumwit::AppendHeadLines(lines, context);
  plumwit::AppendStatusLines(lines, document, context);
  plumwit::AppendClosingLine(lines);
  return plumwit::JoinPageLines(lines);
}

QVariant RunScript(TimelineView& view, const QString& script) {
  QVariant result;
  bool done = false;
  view.Browser()->page()->runJavaScript(script, [&](const QVariant& value) {
    result = value;
    done = true;
  });
  if (!QTest::qWaitFor([&] { return done; }, 10000)) qWarning("the page's script gave no answer");
  return result;
}

// The status block's top border as style.css draws it.
QString StatusBlockBorder(TimelineView& view) {
  return RunScript(view, QStringLiteral(
                             "getComputedStyle(document.getElementById('tweet')).borderTopStyle"))
      .toString();
}

bool LoadAndWait(TimelineView& view, const std::string& html, int timeout_ms = 20000) {
  QSignalSpy loaded(&view, &TimelineView::PageLoaded);
  view.LoadPage(html);
  return loaded.wait(timeout_ms) && loaded.first().first().toBool();
}

}  // namespace

class TimelineViewTest : public QObject {
  Q_OBJECT

 public:
  static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

 private slots:
  void pageShowsStylesheetPictureAndScriptOutput();
  void markupInAStatusFetchesNothing();
  void blankLinkGoesToTheLinkSeam();
  void pageLoadedWhileHiddenIsThereWhenShown();
  void eachLoadReplacesThePageWhole();
  void pageOverTwoMegabytesLoads();
  void historyNeverGoesBack();
};

void TimelineViewTest::pageShowsStylesheetPictureAndScriptOutput() {
  LoopbackHttpServer server;
  server.Script("/bob.png", "200 OK", "image/png", SmallPng());
  GuiFixture app(server.Host());
  app.Start();
  TimelineView& view = app.Kiv().ClientTweets();
  view.show();
  const std::string page =
      TimelinePage(plumwit::test::OneStatusTimeline("Look at http://example.org/a?b=1 now",
                                                    "http://" + server.Host() + "/bob.png"),
                   app.ProgramFolder(), server.Host());
  QVERIFY(LoadAndWait(view, page));

  QTRY_VERIFY_WITH_TIMEOUT(server.WasRequested("/bob.png"), 10000);
  QTRY_COMPARE_WITH_TIMEOUT(
      RunScript(view, QStringLiteral("document.getElementById('tweetimage').naturalWidth")).toInt(),
      8, 10000);
  // The status script wrote the text, with its address made a "_blank" link.
  const QString text =
      RunScript(view, QStringLiteral("document.getElementById('tweettext').innerText")).toString();
  QVERIFY2(text.contains(QStringLiteral("Look at http://example.org/a?b=1 now")), qPrintable(text));
  QCOMPARE(
      RunScript(view, QStringLiteral("document.querySelector('#tweettext a').target")).toString(),
      QStringLiteral("_blank"));
  QCOMPARE(
      RunScript(view, QStringLiteral("document.querySelector('#tweettext a').href")).toString(),
      QStringLiteral("http://example.org/a?b=1"));
  // style.css from the program folder applies: the status block has its border.
  QCOMPARE(StatusBlockBorder(view), QStringLiteral("solid"));
}

void TimelineViewTest::markupInAStatusFetchesNothing() {
  LoopbackHttpServer server;
  server.Script("/bob.png", "200 OK", "image/png", SmallPng());
  GuiFixture app(server.Host());
  app.Start();
  TimelineView& view = app.Kiv().ClientTweets();
  view.show();
  const std::string markup = "&lt;img src=\"http://" + server.Host() +
                             "/evil.png\"&gt;&lt;script src=\"http://" + server.Host() +
                             "/evil.js\"&gt;&lt;/script&gt;";
  const std::string page =
      TimelinePage(plumwit::test::OneStatusTimeline(markup, "http://" + server.Host() + "/bob.png"),
                   app.ProgramFolder(), server.Host());
  QVERIFY(LoadAndWait(view, page));
  QTRY_VERIFY_WITH_TIMEOUT(server.WasRequested("/bob.png"), 10000);
  QTest::qWait(300);
  QVERIFY(!server.WasRequested("/evil.png"));
  QVERIFY(!server.WasRequested("/evil.js"));
  QCOMPARE(
      RunScript(view, QStringLiteral("document.querySelectorAll('#tweettext img').length")).toInt(),
      0);
}

void TimelineViewTest::blankLinkGoesToTheLinkSeam() {
  GuiFixture app;
  app.Start();
  app.Kiv().show();
  TimelineView& view = app.Kiv().ClientTweets();
  view.show();
  QVERIFY(QTest::qWaitForWindowExposed(&app.Kiv()));
  const std::string page =
      "<html><body style='margin:0'><a id='out' target='_blank' href='http://example.org/away' "
      "style='display:block;width:200px;height:60px;background:#ddd'>away</a></body></html>";
  QVERIFY(LoadAndWait(view, page));
  QWidget* surface = view.Browser()->focusProxy();
  QVERIFY(surface);
  QTest::qWait(200);
  QTest::mouseClick(surface, Qt::LeftButton, Qt::NoModifier, QPoint(40, 20));
  QTRY_COMPARE_WITH_TIMEOUT(app.links, QStringList{QStringLiteral("http://example.org/away")},
                            10000);
  // The timeline stays where it was.
  QCOMPARE(RunScript(view, QStringLiteral("document.getElementById('out') !== null")).toBool(),
           true);
}

void TimelineViewTest::pageLoadedWhileHiddenIsThereWhenShown() {
  GuiFixture app;
  app.Start();
  TimelineView& view = app.Kiv().ClientTweets();
  QVERIFY(!view.isVisible());
  QVERIFY(LoadAndWait(view, "<html><body><p id='p'>kept</p></body></html>"));
  view.show();
  QCOMPARE(RunScript(view, QStringLiteral("document.getElementById('p').textContent")).toString(),
           QStringLiteral("kept"));
}

void TimelineViewTest::eachLoadReplacesThePageWhole() {
  GuiFixture app;
  app.Start();
  TimelineView& view = app.Kiv().ClientTweets();
  QVERIFY(LoadAndWait(view, "<html><body><p id='first'>1</p></body></html>"));
  QVERIFY(LoadAndWait(view, "<html><body><p id='second'>2</p></body></html>"));
  QCOMPARE(RunScript(view, QStringLiteral("document.getElementById('first') === null")).toBool(),
           true);
  QCOMPARE(
      RunScript(view, QStringLiteral("document.getElementById('second').textContent")).toString(),
      QStringLiteral("2"));
  // No context menu anywhere in the page.
  QCOMPARE(view.Browser()->contextMenuPolicy(), Qt::NoContextMenu);
}

// Pages handed over as data are capped at 2 MB; the view's own way is not.
// The bulk is not laid out, so the test measures the hand-over, not the
// time a narrow view takes to lay out megabytes of text.
void TimelineViewTest::pageOverTwoMegabytesLoads() {
  GuiFixture app;
  app.Start();
  TimelineView& view = app.Kiv().ClientTweets();
  std::string bulk;
  while (bulk.size() < 3 * 1024 * 1024) bulk += "Status words that wrap in the view. ";
  const std::string page = "<html><head><link href=\"file://" + app.ProgramFolder() +
                           "style.css\" rel=\"stylesheet\" type=\"text/css\" /></head>"
                           "<body><div id='tweet'><div id='bulk' style='display:none'>" +
                           bulk +
                           "</div><p id='end'>Caf\xc3\xa9 \xe2\x80\x94 end</p></div></body></html>";
  QVERIFY(LoadAndWait(view, page, 60000));
  QCOMPARE(
      RunScript(view, QStringLiteral("document.getElementById('bulk').textContent.length")).toInt(),
      static_cast<int>(bulk.size()));
  // The text arrives as the UTF-8 it was built in, and the stylesheet applies.
  QCOMPARE(RunScript(view, QStringLiteral("document.getElementById('end').textContent")).toString(),
           QStringLiteral("Caf\u00e9 \u2014 end"));
  QCOMPARE(StatusBlockBorder(view), QStringLiteral("solid"));
}

// Three refreshes, then every way back: the back action, Alt+Left and the
// mouse's back button. The newest timeline stays.
void TimelineViewTest::historyNeverGoesBack() {
  LoopbackHttpServer server;
  GuiFixture app(server.Host());
  app.Start();
  app.Kiv().show();
  TimelineView& view = app.Kiv().ClientTweets();
  view.show();
  QVERIFY(QTest::qWaitForWindowExposed(&app.Kiv()));
  for (int refresh = 1; refresh <= 3; ++refresh) {
    server.Script("/statuses/home_timeline/.xml", "200 OK", "text/xml",
                  plumwit::test::OneStatusTimeline("Timeline " + std::to_string(refresh),
                                                   "http://" + server.Host() + "/none.png"));
    QSignalSpy loaded(&view, &TimelineView::PageLoaded);
    app.Kiv().RefreshTweetsClick();
    QVERIFY(loaded.wait(20000));
  }
  QWebEngineView* browser = view.Browser();
  QTRY_COMPARE_WITH_TIMEOUT(browser->history()->count(), 1, 5000);
  QVERIFY(!browser->history()->canGoBack());
  QCOMPARE(RunScript(view, QStringLiteral("history.length")).toInt(), 1);

  browser->page()->triggerAction(QWebEnginePage::Back);
  QWidget* surface = browser->focusProxy();
  QVERIFY(surface);
  QTest::keyClick(surface, Qt::Key_Left, Qt::AltModifier);
  QTest::mouseClick(surface, Qt::BackButton, Qt::NoModifier, QPoint(40, 40));
  QTest::qWait(1000);
  QVERIFY(!browser->history()->canGoBack());
  QVERIFY2(RunScript(view, QStringLiteral("document.body.innerText"))
               .toString()
               .contains(QStringLiteral("Timeline 3")),
           "an older timeline came back");
}

QTEST_MAIN(TimelineViewTest)
#include "timeline_view_test.moc"
