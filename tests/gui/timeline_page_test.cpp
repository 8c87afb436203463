// The built timeline page as the timeline view shows it: which parts of a
// status become links and to where, that nothing from the service runs as
// markup or script, that line breaks show, and that the author line keeps
// its screen-name link whatever the display name.
#include <memory>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

#include "core/service/xml_document.h"
#include "core/timeline/page_builder.h"
#include "core/timeline/page_escaping.h"
#include "support/gui_fixture.h"
#include "timeline/timeline_view.h"

using plumwit::TimelineView;
using plumwit::test::GuiFixture;

namespace {

// A 1x1 picture that needs no network.
constexpr const char* kPicture = "data:image/gif;base64,R0lGODlhAQABAIAAAP///wAAACH5BAEAAAAALAAAAAABAAEAAAICRAEAOw==";

// A status text the way the service writes it: HTML entities for markup
// characters and line breaks, inside XML.
std::string AsTheServiceWritesIt(const std::string& text) {
  std::string xml;
  for (const char c : plumwit::EscapeHtml(text))
    xml += c == '&' ? std::string("&amp;") : std::string(1, c);
  return xml;
}

std::string Timeline(const std::string& text, const std::string& display_name) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<statuses type=\"array\">\n<status>\n"
         "  <created_at>Tue Mar 02 10:00:00 +0000 2010</created_at>\n  <id>1</id>\n  <text>" +
         AsTheServiceWritesIt(text) + "</text>\n  <user>\n    <id>8</id>\n    <name>" +
         AsTheServiceWritesIt(display_name) +
         "</name>\n    <screen_name>bob</screen_name>\n    <profile_image_url>" + kPicture +
         "</profile_image_url>\n  </user>\n</status>\n</statuses>\n";
}

// The page the refresh builds from a timeline of one status.
std::string PageOf(const std::string& text, const std::string& program_folder,
                   const std::string& display_name = "Bob Builder") {
  plumwit::XmlDocument document;
  document.Load(Timeline(text, display_name));
  plumwit::PageContext context;
  context.program_folder = program_folder;
  context.service_host = "service.example";
  plumwit::PageLines lines;
  plumwit::AppendHeadLines(lines, context);
  plumwit::AppendStatusLines(lines, document, context);
  plumwit::AppendClosingLine(lines);
  return plumwit::JoinPageLines(lines);
}

// What the page shows of its status: the text the status script wrote (the
// nodes after the script, less the page's own line break that follows them),
// that text as laid out, every link in it, and what markup it holds.
constexpr const char* kReadStatus = R"((function () {
  const box = document.getElementById('tweettext');
  const script = box.querySelector('script');
  let text = '';
  for (let node = script.nextSibling; node; node = node.nextSibling) text += node.textContent;
  const links = Array.from(box.querySelectorAll('a'));
  const elements = Array.from(box.querySelectorAll('*')).filter(e => e !== script);
  return JSON.stringify({
    text: text.replace(/\n$/, ''),
    shown: box.innerText,
    hrefs: links.map(a => a.getAttribute('href')),
    texts: links.map(a => a.textContent),
    targets: links.map(a => a.target),
    attributes: links.map(a => a.getAttributeNames().join(' ')),
    elements: elements.map(e => e.localName),
    blocks: document.querySelectorAll('[id=tweettext]').length,
    separators: document.querySelectorAll('[id=tweetsseparator]').length,
    marker: typeof window.pwned
  });
})())";

}  // namespace

class TimelinePageTest : public QObject {
  Q_OBJECT

 public:
  static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

 private slots:
  void initTestCase();
  void cleanupTestCase();
  void addressesBecomeExactLinks_data();
  void addressesBecomeExactLinks();
  void markupFromTheServiceNeverRuns_data();
  void markupFromTheServiceNeverRuns();
  void lineBreaksShowAsLines_data();
  void lineBreaksShowAsLines();
  void longDisplayNameKeepsTheScreenNameLinkInView_data();
  void longDisplayNameKeepsTheScreenNameLinkInView();

 private:
  QVariant RunScript(const QString& script);
  void Load(const std::string& page);
  QJsonObject ReadStatus();

  std::unique_ptr<GuiFixture> app_;
  TimelineView* view_ = nullptr;
};

void TimelinePageTest::initTestCase() {
  app_ = std::make_unique<GuiFixture>();
  app_->Start();
  app_->Kiv().show();
  view_ = &app_->Kiv().ClientTweets();
  view_->show();
  QVERIFY(QTest::qWaitForWindowExposed(&app_->Kiv()));
}

void TimelinePageTest::cleanupTestCase() { app_.reset(); }

QVariant TimelinePageTest::RunScript(const QString& script) {
  QVariant result;
  bool done = false;
  view_->Browser()->page()->runJavaScript(script, [&](const QVariant& value) {
    result = value;
    done = true;
  });
  if (!QTest::qWaitFor([&] { return done; }, 10000)) qWarning("the page's script gave no answer");
  return result;
}

void TimelinePageTest::Load(const std::string& page) {
  QSignalSpy loaded(view_, &TimelineView::PageLoaded);
  view_->LoadPage(page);
  QVERIFY(loaded.wait(20000));
  QVERIFY(loaded.first().first().toBool());
}

QJsonObject TimelinePageTest::ReadStatus() {
  return QJsonDocument::fromJson(RunScript(QString::fromLatin1(kReadStatus)).toString().toUtf8())
      .object();
}

void TimelinePageTest::addressesBecomeExactLinks_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QStringList>("addresses");

  const QString address = QStringLiteral("http://example.com/p");
  const QString neighbours = QStringLiteral("\"'<>&;");
  for (const QChar c : neighbours) {
    QTest::addRow("preceded by %c", c.toLatin1())
        << QStringLiteral("x ") + c + address + " y" << QStringList{address};
    // The pattern may end an address on "&", never on ";".
    const QString found = c == '&' ? address + c : address;
    QTest::addRow("followed by %c", c.toLatin1())
        << QStringLiteral("x ") + address + c + " y" << QStringList{found};
    QTest::addRow("followed by %c at the end", c.toLatin1()) << address + c << QStringList{found};
  }
  QTest::newRow("between double quotes")
      << QStringLiteral("\"http://example.com/q\"") << QStringList{"http://example.com/q"};
  QTest::newRow("between single quotes")
      << QStringLiteral("'http://example.com/s'") << QStringList{"http://example.com/s"};
  QTest::newRow("between angle brackets")
      << QStringLiteral("<http://example.com/t>") << QStringList{"http://example.com/t"};
  QTest::newRow("inside parentheses")
      << QStringLiteral("(see http://example.com/x)") << QStringList{"http://example.com/x"};
  QTest::newRow("parentheses round it")
      << QStringLiteral("(http://example.com/x)") << QStringList{"http://example.com/x"};
  QTest::newRow("at the end") << QStringLiteral("read http://example.com/end")
                              << QStringList{"http://example.com/end"};
  QTest::newRow("full stop after it")
      << QStringLiteral("read http://example.com/end.") << QStringList{"http://example.com/end"};
  QTest::newRow("two in a row") << QStringLiteral("http://a.example/1 http://b.example/2")
                                << QStringList{"http://a.example/1", "http://b.example/2"};
  QTest::newRow("two on two lines") << QStringLiteral("http://a.example/1\nhttp://b.example/2")
                                    << QStringList{"http://a.example/1", "http://b.example/2"};
  QTest::newRow("two joined by a comma are one")
      << QStringLiteral("http://a.example/1,http://b.example/2")
      << QStringList{"http://a.example/1,http://b.example/2"};
  QTest::newRow("ampersands in the query")
      << QStringLiteral("q http://example.com/?a=1&b=2&copy=3&lt=4&#38=5 end")
      << QStringList{"http://example.com/?a=1&b=2&copy=3&lt=4&#38=5"};
  QTest::newRow("entity-like text after it")
      << QStringLiteral("http://example.com/p&amp; and http://example.com/r&lt;")
      << QStringList{"http://example.com/p&amp", "http://example.com/r&lt"};
  QTest::newRow("semicolons inside it")
      << QStringLiteral("http://example.com/a;b=1;") << QStringList{"http://example.com/a;b=1"};
  QTest::newRow("https") << QStringLiteral("https://example.com/")
                         << QStringList{"https://example.com/"};
  QTest::newRow("ftp") << QStringLiteral("get ftp://files.example.com/pub/a.txt now")
                       << QStringList{"ftp://files.example.com/pub/a.txt"};
  QTest::newRow("file") << QStringLiteral("open file:///etc/hosts now")
                        << QStringList{"file:///etc/hosts"};
  QTest::newRow("upper-case schemes")
      << QStringLiteral(
             "HTTP://EXAMPLE.COM/UP Https://Example.com/Mixed FTP://X.EXAMPLE/F "
             "FILE:///TMP/A")
      << QStringList{"HTTP://EXAMPLE.COM/UP", "Https://Example.com/Mixed", "FTP://X.EXAMPLE/F",
                     "FILE:///TMP/A"};
  QTest::newRow("letters right before it")
      << QStringLiteral("xhttp://example.com/") << QStringList{};
  QTest::newRow("other characters end it")
      << QStringLiteral(
             "http://example.com/caf\u00e9 http://example.com/a`b http://example.com/c d")
      << QStringList{"http://example.com/caf", "http://example.com/a", "http://example.com/c"};
  QTest::newRow("no scheme, no link")
      << QStringLiteral("www.example.com mailto:a@example.com") << QStringList{};
}

// Each link covers exactly what the page's pattern finds in the plain text,
// its address is those characters, and the status reads as the plain text.
void TimelinePageTest::addressesBecomeExactLinks() {
  QFETCH(QString, text);
  QFETCH(QStringList, addresses);
  Load(PageOf(text.toStdString(), app_->ProgramFolder()));
  const QJsonObject status = ReadStatus();
  QCOMPARE(status["text"].toString(), text);
  QCOMPARE(status["hrefs"].toVariant().toStringList(), addresses);
  QCOMPARE(status["texts"].toVariant().toStringList(), addresses);
  for (const QJsonValue target : status["targets"].toArray())
    QCOMPARE(target.toString(), QStringLiteral("_blank"));
  QCOMPARE(status["blocks"].toInt(), 1);
  QCOMPARE(status["separators"].toInt(), 1);
}

void TimelinePageTest::markupFromTheServiceNeverRuns_data() {
  QTest::addColumn<QString>("text");
  QTest::newRow("script element") << QStringLiteral("<script>window.pwned = 1</script>");
  QTest::newRow("picture with onerror") << QStringLiteral("<img src=x onerror=\"window.pwned=2\">");
  QTest::newRow("closing the page's script")
      << QStringLiteral("</script><script>window.pwned = 3</script>");
  QTest::newRow("script link") << QStringLiteral("<a href=\"javascript:window.pwned=4\">x</a>");
  QTest::newRow("script address") << QStringLiteral("javascript:window.pwned=5");
  QTest::newRow("attribute after an address")
      << QStringLiteral("http://example.com/'onmouseover='window.pwned=6' x=' end");
  QTest::newRow("double-quoted attribute after an address")
      << QStringLiteral("http://example.com/\"onmouseover=\"window.pwned=7\" end");
  QTest::newRow("comment around a script")
      << QStringLiteral("<!-- <script>window.pwned = 8</script> -->");
  QTest::newRow("svg onload") << QStringLiteral("<svg onload=window.pwned=9>");
  QTest::newRow("leaving the string literal") << QStringLiteral("\"); window.pwned = 10; (\"\\");
  QTest::newRow("line separators") << QStringLiteral("a\u2028window.pwned = 11\u2029b");
  QTest::newRow("entities written as text")
      << QStringLiteral("&lt;script&gt;window.pwned = 12&lt;/script&gt; &amp;lt;");
}

// The text shows as typed; the only elements in it are the script's links.
void TimelinePageTest::markupFromTheServiceNeverRuns() {
  QFETCH(QString, text);
  Load(PageOf(text.toStdString(), app_->ProgramFolder()));
  RunScript(
      QStringLiteral("document.querySelectorAll('#tweettext a').forEach(a => "
                     "a.dispatchEvent(new MouseEvent('mouseover', {bubbles: true})))"));
  const QJsonObject status = ReadStatus();
  QCOMPARE(status["text"].toString(), text);
  for (const QJsonValue element : status["elements"].toArray())
    QCOMPARE(element.toString(), QStringLiteral("a"));
  for (const QJsonValue names : status["attributes"].toArray())
    QCOMPARE(names.toString(), QStringLiteral("href target"));
  QCOMPARE(status["marker"].toString(), QStringLiteral("undefined"));
  QCOMPARE(status["blocks"].toInt(), 1);
}

void TimelinePageTest::lineBreaksShowAsLines_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QStringList>("lines");
  QTest::newRow("CR LF") << QStringLiteral("Line one\r\nLine two\r\nLine three")
                         << QStringList{"Line one", "Line two", "Line three"};
  QTest::newRow("LF") << QStringLiteral("Line one\nLine two")
                      << QStringList{"Line one", "Line two"};
  QTest::newRow("CR") << QStringLiteral("a\rb\rc\rd") << QStringList{"a", "b", "c", "d"};
  QTest::newRow("empty line between")
      << QStringLiteral("a\r\n\r\nb\n\nc") << QStringList{"a", "", "b", "", "c"};
  QTest::newRow("after an address") << QStringLiteral("http://example.com/a\rnext")
                                    << QStringList{"http://example.com/a", "next"};
  // Other white space is laid out as before: runs of it show as one blank.
  QTest::newRow("no line break") << QStringLiteral("one  \t line") << QStringList{"one line"};
}

void TimelinePageTest::lineBreaksShowAsLines() {
  QFETCH(QString, text);
  QFETCH(QStringList, lines);
  Load(PageOf(text.toStdString(), app_->ProgramFolder()));
  const QJsonObject status = ReadStatus();
  QCOMPARE(status["shown"].toString().split(QLatin1Char('\n')), lines);
  // The text itself keeps its characters, line breaks as the page reads them.
  QString normalised = text;
  normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
  QCOMPARE(status["text"].toString(), normalised);
  // Each line is a line box of its own: the text is that many lines high.
  const double one_line =
      RunScript(QStringLiteral("parseFloat(getComputedStyle(document.getElementById('tweettext'))"
                               ".lineHeight)"))
          .toDouble();
  const double height =
      RunScript(
          QStringLiteral("document.getElementById('tweettext').getBoundingClientRect().height"))
          .toDouble();
  QVERIFY2(qAbs(height - one_line * lines.size()) < one_line / 2,
           qPrintable(QStringLiteral("%1 px for %2 lines of %3 px")
                          .arg(height)
                          .arg(lines.size())
                          .arg(one_line)));
}

void TimelinePageTest::longDisplayNameKeepsTheScreenNameLinkInView_data() {
  QTest::addColumn<QString>("display_name");
  const QString words =
      QStringLiteral("A very long display name that goes on and on past the width of the timeline");
  QTest::newRow("words") << words + QString(80 - words.size(), QLatin1Char('!'));
  QTest::newRow("one word") << QString(80, QLatin1Char('W'));
}

// The author line wraps instead of cutting: the whole name and the link show.
void TimelinePageTest::longDisplayNameKeepsTheScreenNameLinkInView() {
  QFETCH(QString, display_name);
  QCOMPARE(display_name.size(), 80);
  Load(PageOf("hello", app_->ProgramFolder(), display_name.toStdString()));
  const QJsonObject line = QJsonDocument::fromJson(RunScript(QStringLiteral(R"((function () {
    const link = document.querySelector('#tweetuser a');
    const box = link.getBoundingClientRect();
    const hit = document.elementFromPoint(box.left + box.width / 2, box.top + box.height / 2);
    return JSON.stringify({
      left: box.left, right: box.right, width: box.width, height: box.height,
      hit: hit === link, viewport: document.documentElement.clientWidth,
      scrolls: document.documentElement.scrollWidth > document.documentElement.clientWidth,
      author: document.getElementById('tweetuser').innerText
    });
  })())"))
                                                       .toString()
                                                       .toUtf8())
                               .object();
  const double view_width = view_->width();
  QVERIFY(line["width"].toDouble() > 0);
  QVERIFY(line["height"].toDouble() > 0);
  QVERIFY(line["left"].toDouble() >= 0);
  QVERIFY2(line["right"].toDouble() <= line["viewport"].toDouble(),
           qPrintable(QString::number(line["right"].toDouble())));
  QVERIFY(line["viewport"].toDouble() <= view_width);
  QVERIFY2(line["hit"].toBool(), "the screen-name link is covered or cut off");
  QVERIFY(!line["scrolls"].toBool());
  QVERIFY2(line["author"].toString().remove('\n').contains(display_name + " ( bob )"),
           qPrintable(line["author"].toString()));
}

QTEST_MAIN(TimelinePageTest)
#include "timeline_page_test.moc"
