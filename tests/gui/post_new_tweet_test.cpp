// The new tweet dialog: its count, its post, and what it keeps between showings.
#include <memory>

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "dialogs/post_new_tweet_dialog.h"
#include "main_window/form_set.h"
#include "main_window/main_window.h"
#include "support/dialog_test_bed.h"
#include "support/gui_test_main.h"
#include "ui/limited_memo.h"

using plumwit::LimitedMemo;
using plumwit::TPostNewTweet;
using plumwit::gui_test::DialogTestBed;
using plumwit::gui_test::EmptyTimeline;
using plumwit::gui_test::Ok;
using plumwit::gui_test::Reply;
using plumwit::gui_test::WireRequest;

class PostNewTweetTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    bed_ = std::make_unique<DialogTestBed>();
    bed_->Start();
    bed_->SignIn("ann", "secret");
    dialog_ = &bed_->Forms().PostNewTweet();
    memo_ = dialog_->findChild<LimitedMemo*>(QStringLiteral("MemoPost"));
    chars_left_ = dialog_->findChild<QLabel*>(QStringLiteral("CharsLeft"));
    button_ = dialog_->findChild<QPushButton*>(QStringLiteral("tweetbutton"));
    QVERIFY(memo_ && chars_left_ && button_);
    signed_in_requests_ = bed_->Server().RequestCount();
  }

  void cleanup() { bed_.reset(); }

  void opensFromTheToolBarAndTheTray() {
    bed_->KIV().findChild<QToolButton*>(QStringLiteral("NewTweet"))->click();
    QVERIFY(dialog_->isVisible());
    dialog_->close();
    QAction* tray_item = bed_->TrayItem("newt");
    QVERIFY(tray_item);
    tray_item->trigger();
    QCOMPARE(bed_->modal_dialogs,
             QStringList({QStringLiteral("PostNewTweet"), QStringLiteral("PostNewTweet")}));
    QVERIFY(dialog_->isVisible());
    QCOMPARE(chars_left_->text(), QStringLiteral("140"));
    QVERIFY(button_->isEnabled());
  }

  void countsCharactersLeft() {
    Open();
    QTest::keyClicks(memo_, QStringLiteral("abc"));
    QCOMPARE(chars_left_->text(), QStringLiteral("137"));
    QTest::keyClick(memo_, Qt::Key_Return);
    QCOMPARE(chars_left_->text(), QStringLiteral("135"));
    QTest::keyClicks(memo_, QString(140, QLatin1Char('x')));
    QCOMPARE(chars_left_->text(), QStringLiteral("0"));
    QCOMPARE(memo_->Length(), 140);
  }

  // Before any post from the main window's box, the dialog's post carries
  // neither "Referer" nor "From".
  void postsRefreshesAndCloses() {
    Open();
    bed_->Server().Add(Ok("<status/>"));
    bed_->Server().Add(Ok(EmptyTimeline()));
    QTest::keyClicks(memo_, QStringLiteral("from the dialog"));
    QTest::mouseClick(button_, Qt::LeftButton);

    const std::vector<WireRequest> sent = bed_->RequestsAfter(signed_in_requests_);
    QCOMPARE(sent.size(), std::size_t{2});
    QCOMPARE(sent[0].request_line,
             QByteArray("POST /statuses/update.xml?status=from%20the%20dialog HTTP/1.0"));
    QCOMPARE(sent[0].Header("Authorization"),
             QByteArray("Basic ") + QByteArray("ann:secret").toBase64());
    QVERIFY(!sent[0].HasHeader("Referer"));
    QVERIFY(!sent[0].HasHeader("From"));
    QCOMPARE(sent[1].request_line,
             QByteArray("GET /statuses/home_timeline/ann.xml?count=20 HTTP/1.1"));

    QVERIFY(bed_->messages.isEmpty());
    QVERIFY(dialog_->isHidden());
    QCOMPARE(memo_->Text(), QString());
    QCOMPARE(chars_left_->text(), QStringLiteral("140"));
  }

  void reportsAFailureKeepsTheTextAndCloses() {
    Open();
    bed_->Server().Add(
        Reply(401, "Unauthorized", "<hash><error>Could not authenticate you.</error></hash>"));
    bed_->Server().Add(Ok(EmptyTimeline()));
    QTest::keyClicks(memo_, QStringLiteral("kept"));
    QTest::mouseClick(button_, Qt::LeftButton);

    QCOMPARE(bed_->messages, QStringList{QStringLiteral("Error : HTTP/1.1 401 Unauthorized")});
    QVERIFY(dialog_->isHidden());
    QCOMPARE(bed_->RequestsAfter(signed_in_requests_).size(), std::size_t{2});

    Open();
    QCOMPARE(memo_->Text(), QStringLiteral("kept"));
    QCOMPARE(chars_left_->text(), QStringLiteral("136"));
  }

  void ignoresBlankTextAndStaysOpen() {
    Open();
    QTest::keyClicks(memo_, QStringLiteral("  "));
    QTest::keyClick(memo_, Qt::Key_Return);
    QTest::mouseClick(button_, Qt::LeftButton);
    QCOMPARE(bed_->Server().RequestCount(), signed_in_requests_);
    QVERIFY(dialog_->isVisible());
    QVERIFY(bed_->messages.isEmpty());
  }

  void closingSendsNothingAndKeepsTheText() {
    Open();
    QTest::keyClicks(memo_, QStringLiteral("later"));
    dialog_->close();
    QVERIFY(dialog_->isHidden());
    QCOMPARE(bed_->Server().RequestCount(), signed_in_requests_);
    Open();
    QCOMPARE(memo_->Text(), QStringLiteral("later"));
    QCOMPARE(chars_left_->text(), QStringLiteral("135"));
  }

  // Each opening starts in the memo, even after a post by key left the focus
  // on the button (a failed one closes the dialog with the text kept).
  void everyOpeningStartsInTheMemo() {
    for (int opening = 1; opening <= 2; ++opening) {
      bed_->Server().Add(Reply(500, "Internal Server Error", "<hash/>"));
      bed_->Server().Add(Ok(EmptyTimeline()));
      Open();
      QCOMPARE(Focused(), static_cast<QWidget*>(memo_));
      QTest::keyClicks(Focused(), QStringLiteral("ab"));
      QTest::keyClick(Focused(), Qt::Key_Tab);
      QCOMPARE(Focused(), static_cast<QWidget*>(button_));
      QTest::keyClick(Focused(), Qt::Key_Space);
      QVERIFY(dialog_->isHidden());
    }
    QCOMPARE(bed_->messages.size(), 2);
    Open();
    QCOMPARE(Focused(), static_cast<QWidget*>(memo_));
    QTest::keyClick(Focused(), Qt::Key_Space);
    QVERIFY(dialog_->isVisible());
    QCOMPARE(memo_->Text(), QStringLiteral("abab "));
  }

  // The box's headers stay on the main window's client, which the dialog
  // posts through.
  void postsWithTheHeadersAnEarlierBoxPostLeft() {
    bed_->Server().Add(Ok("<status/>"));
    bed_->Server().Add(Ok(EmptyTimeline()));
    auto* box_memo = bed_->KIV().findChild<LimitedMemo*>(QStringLiteral("Tweet"));
    box_memo->SetText(QStringLiteral("from the box"));
    bed_->KIV().findChild<QPushButton*>(QStringLiteral("tweetbtn"))->click();

    Open();
    bed_->Server().Add(Ok("<status/>"));
    bed_->Server().Add(Ok(EmptyTimeline()));
    QTest::keyClicks(memo_, QStringLiteral("then the dialog"));
    QTest::mouseClick(button_, Qt::LeftButton);
    const std::vector<WireRequest> sent = bed_->RequestsAfter(signed_in_requests_ + 2);
    QCOMPARE(sent.size(), std::size_t{2});
    QVERIFY(
        sent[0].request_line.startsWith("POST /statuses/update.xml?status=then%20the%20dialog "));
    QCOMPARE(sent[0].Header("Referer"), QByteArray("Plumwit"));
    QCOMPARE(sent[0].Header("From"), QByteArray("Plumwit"));
  }

 private:
  // Where the user's keys go while the dialog is in front.
  QWidget* Focused() const { return dialog_->focusWidget(); }

  void Open() {
    bed_->KIV().NewTweetClick();
    QVERIFY(dialog_->isVisible());
  }

  std::unique_ptr<DialogTestBed> bed_;
  TPostNewTweet* dialog_ = nullptr;
  LimitedMemo* memo_ = nullptr;
  QLabel* chars_left_ = nullptr;
  QPushButton* button_ = nullptr;
  std::size_t signed_in_requests_ = 0;
};

PLUMWIT_GUI_TEST_MAIN(PostNewTweetTest)
#include "post_new_tweet_test.moc"
