// The inline tweet box: its count and button, and what a post puts on the wire.
#include <memory>

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QTest>

#include "main_window/main_window.h"
#include "support/dialog_test_bed.h"
#include "support/gui_test_main.h"
#include "ui/limited_memo.h"

using plumwit::LimitedMemo;
using plumwit::gui_test::DialogTestBed;
using plumwit::gui_test::EmptyTimeline;
using plumwit::gui_test::Ok;
using plumwit::gui_test::Reply;
using plumwit::gui_test::WireRequest;

namespace {

QString Caption(int remaining) { return QStringLiteral("tweet this \n(%1)").arg(remaining); }

}  // namespace

class TweetBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    bed_ = std::make_unique<DialogTestBed>();
    bed_->Start();
    bed_->SignIn("ann", "secret");
    bed_->KIV().show();
    QVERIFY(QTest::qWaitForWindowExposed(&bed_->KIV()));
    memo_ = bed_->KIV().findChild<LimitedMemo*>(QStringLiteral("Tweet"));
    button_ = bed_->KIV().findChild<QPushButton*>(QStringLiteral("tweetbtn"));
    QVERIFY(memo_ && button_);
    QVERIFY(memo_->isVisible());
    memo_->setFocus();
    signed_in_requests_ = bed_->Server().RequestCount();
  }

  void cleanup() { bed_.reset(); }

  void startsWithTheDesignedCaption() {
    QCOMPARE(button_->text(), QStringLiteral("tweet this (140)"));
    QVERIFY(!button_->isEnabled());
  }

  void countsAndEnablesWhileTyping_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("remaining");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("one character") << "a" << 139 << false;
    QTest::newRow("two characters") << "ab" << 138 << true;
    QTest::newRow("two blanks") << "  " << 138 << true;
    QTest::newRow("line break counts two") << "a\nb" << 136 << true;
    QTest::newRow("a lone line break") << "\n" << 138 << true;
  }

  void countsAndEnablesWhileTyping() {
    QFETCH(QString, typed);
    QFETCH(int, remaining);
    QFETCH(bool, enabled);
    for (const QChar c : typed) {
      if (c == QLatin1Char('\n')) {
        QTest::keyClick(memo_, Qt::Key_Return);
      } else {
        QTest::keyClicks(memo_, QString(c));
      }
    }
    QCOMPARE(button_->text(), Caption(remaining));
    QCOMPARE(button_->isEnabled(), enabled);
  }

  // One code point outside the basic plane is one character, not two.
  void countsCodePoints() {
    memo_->insertPlainText(QString::fromUtf8("\xF0\x9F\x90\xA6"));
    QCOMPARE(button_->text(), Caption(139));
    QVERIFY(!button_->isEnabled());
  }

  void refusesTypingBeyondTheLimit() {
    QTest::keyClicks(memo_, QString(140, QLatin1Char('x')));
    QCOMPARE(button_->text(), Caption(0));
    QTest::keyClicks(memo_, QStringLiteral("yz"));
    QTest::keyClick(memo_, Qt::Key_Return);
    QCOMPARE(memo_->Text(), QString(140, QLatin1Char('x')));
    QCOMPARE(button_->text(), Caption(0));
  }

  // A paste keeps what fits; a line break that would pass the limit is cut
  // whole, with what follows it.
  void cutsAPasteToTheLimit_data() {
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("kept");
    QTest::newRow("plain text") << 135 << "abcdefghij"
                                << "abcde";
    QTest::newRow("line break that does not fit") << 139 << "\r\nabc"
                                                  << "";
    QTest::newRow("line break that fits") << 138 << "\nabc"
                                          << "\r\n";
    QTest::newRow("code point is not split")
        << 139 << QString::fromUtf8("z\xF0\x9F\x90\xA6") << QStringLiteral("z");
  }

  void cutsAPasteToTheLimit() {
    QFETCH(int, before);
    QFETCH(QString, pasted);
    QFETCH(QString, kept);
    const QString start(before, QLatin1Char('x'));
    QTest::keyClicks(memo_, start);
    QApplication::clipboard()->setText(pasted);
    memo_->paste();
    QCOMPARE(memo_->Text(), start + kept);
    QVERIFY(memo_->Length() <= 140);
    QCOMPARE(button_->text(), Caption(140 - memo_->Length()));
  }

  // The status goes out exactly as typed, percent-encoded, line breaks as
  // CR LF; the headers set for it stay on the main window's client.
  void postsTheTextAndRefreshesTheTimeline() {
    bed_->Server().Add(Ok("<status/>"));
    bed_->Server().Add(Ok(EmptyTimeline()));
    QTest::keyClicks(memo_, QStringLiteral("Caf"));
    memo_->insertPlainText(QString::fromUtf8("\xC3\xA9"));
    QTest::keyClicks(memo_, QStringLiteral(" & more #tag"));
    QTest::keyClick(memo_, Qt::Key_Return);
    QTest::keyClicks(memo_, QStringLiteral("100%+1"));
    QTest::mouseClick(button_, Qt::LeftButton);

    const std::vector<WireRequest> sent = bed_->RequestsAfter(signed_in_requests_);
    QCOMPARE(sent.size(), std::size_t{2});
    QCOMPARE(sent[0].request_line,
             QByteArray(
                 "POST /statuses/update.xml?status=Caf%C3%A9%20%26%20more%20%23tag%0D%0A100%25%2B1 "
                 "HTTP/1.0"));
    QCOMPARE(sent[0].Header("Authorization"),
             QByteArray("Basic ") + QByteArray("ann:secret").toBase64());
    QCOMPARE(sent[0].Header("Referer"), QByteArray("Plumwit"));
    QCOMPARE(sent[0].Header("From"), QByteArray("Plumwit"));
    QCOMPARE(sent[0].Header("Content-Length"), QByteArray("0"));
    QCOMPARE(sent[0].body, QByteArray());
    QCOMPARE(sent[1].request_line,
             QByteArray("GET /statuses/home_timeline/ann.xml?count=20 HTTP/1.1"));
    QCOMPARE(sent[1].Header("Referer"), QByteArray("Plumwit"));
    QCOMPARE(sent[1].Header("From"), QByteArray("Plumwit"));

    QVERIFY(bed_->messages.isEmpty());
    QCOMPARE(memo_->Text(), QString());
    QCOMPARE(button_->text(), Caption(140));
    QVERIFY(!button_->isEnabled());
  }

  void reportsAFailedPostAndKeepsTheText_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("message");
    QTest::newRow("server error") << 500 << "Internal Server Error"
                                  << "Error : HTTP/1.1 500 Internal Server Error";
    QTest::newRow("refused credentials") << 401 << "Unauthorized"
                                         << "Error : HTTP/1.1 401 Unauthorized";
    QTest::newRow("connection closed") << 0 << ""
                                       << "Error : Connection Closed Gracefully.";
  }

  void reportsAFailedPostAndKeepsTheText() {
    QFETCH(int, code);
    QFETCH(QString, reason);
    QFETCH(QString, message);
    bed_->Server().Add(code == 0
                           ? plumwit::test::ScriptedReply::CloseImmediately()
                           : Reply(code, reason.toStdString(), "<hash><error>no</error></hash>"));
    bed_->Server().Add(Ok(EmptyTimeline()));
    QTest::keyClicks(memo_, QStringLiteral("not today"));
    QTest::mouseClick(button_, Qt::LeftButton);

    QCOMPARE(bed_->messages, QStringList{message});
    QCOMPARE(memo_->Text(), QStringLiteral("not today"));
    QCOMPARE(button_->text(), Caption(131));
    QVERIFY(!button_->isEnabled());
    const std::vector<WireRequest> sent = bed_->RequestsAfter(signed_in_requests_);
    QCOMPARE(sent.size(), std::size_t{2});
    QVERIFY(sent[1].request_line.startsWith("GET /statuses/home_timeline/ann.xml"));
    // Editing again is what enables the button.
    QTest::keyClicks(memo_, QStringLiteral("!"));
    QVERIFY(button_->isEnabled());
  }

  void sendsNothingForBlankText() {
    QTest::keyClicks(memo_, QStringLiteral(" \t"));
    QTest::keyClick(memo_, Qt::Key_Return);
    QTest::mouseClick(button_, Qt::LeftButton);
    QCOMPARE(bed_->Server().RequestCount(), signed_in_requests_);
    QVERIFY(bed_->messages.isEmpty());
    QVERIFY(button_->isEnabled());
  }

  // Posted by key (Tab to the button, Space), good or failed: the disabled
  // button gives the focus back to the memo, not on to the tool bar's
  // sign-out button, so the next keys go on into the memo.
  void focusGoesBackToTheMemoAfterAPost_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("memo_after");
    QTest::newRow("posted") << 200 << " next";
    QTest::newRow("failed") << 500 << "first next";
  }

  void focusGoesBackToTheMemoAfterAPost() {
    QFETCH(int, code);
    QFETCH(QString, memo_after);
    bed_->Server().Add(Reply(code, code == 200 ? "OK" : "Internal Server Error", "<status/>"));
    bed_->Server().Add(Ok(EmptyTimeline()));
    QTest::keyClicks(Focused(), QStringLiteral("first"));
    QTest::keyClick(Focused(), Qt::Key_Tab);
    QCOMPARE(Focused(), static_cast<QWidget*>(button_));
    QTest::keyClick(Focused(), Qt::Key_Space);
    QCOMPARE(bed_->RequestsAfter(signed_in_requests_).size(), std::size_t{2});
    QVERIFY(!button_->isEnabled());

    QCOMPARE(Focused(), static_cast<QWidget*>(memo_));
    QTest::keyClick(Focused(), Qt::Key_Space);
    QTest::keyClicks(Focused(), QStringLiteral("next"));
    QVERIFY(bed_->KIV().SignedIn());
    QCOMPARE(memo_->Text(), memo_after);
  }

  // The memo outlives the box's visibility: sign-out hides it, nothing clears it.
  void keepsTheTextAcrossSignOut() {
    QTest::keyClicks(memo_, QStringLiteral("draft"));
    bed_->KIV().LoginLogoutClick();
    QVERIFY(!memo_->isVisible());
    bed_->SignIn("ann", "secret");
    QVERIFY(memo_->isVisible());
    QCOMPARE(memo_->Text(), QStringLiteral("draft"));
  }

 private:
  // Where the user's keys go while the main window is in front.
  QWidget* Focused() const { return bed_->KIV().focusWidget(); }

  std::unique_ptr<DialogTestBed> bed_;
  LimitedMemo* memo_ = nullptr;
  QPushButton* button_ = nullptr;
  std::size_t signed_in_requests_ = 0;
};

PLUMWIT_GUI_TEST_MAIN(TweetBoxTest)
#include "tweet_box_test.moc"
