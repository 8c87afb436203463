// The profile dialog: the fetch on opening, the update and its outcomes.
#include <memory>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QTimer>

#include "core/build_config.h"
#include "dialogs/update_profile_dialog.h"
#include "main_window/form_set.h"
#include "main_window/main_window.h"
#include "support/dialog_test_bed.h"
#include "support/gui_test_main.h"
#include "ui/limited_memo.h"
#include "ui/ui_seams.h"

using plumwit::LimitedMemo;
using plumwit::TUpdateProfile;
using plumwit::gui_test::DialogTestBed;
using plumwit::gui_test::EmptyTimeline;
using plumwit::gui_test::Ok;
using plumwit::gui_test::Reply;
using plumwit::gui_test::UserRecord;
using plumwit::gui_test::WireRequest;

namespace {

const QByteArray kAnnCredentials = QByteArray("Basic ") + QByteArray("ann:secret").toBase64();

}  // namespace

class UpdateProfileTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    bed_ = std::make_unique<DialogTestBed>();
    bed_->Start();
    bed_->SignIn("ann", "secret");
    dialog_ = &bed_->Forms().UpdateProfile();
    signed_in_requests_ = bed_->Server().RequestCount();
  }

  void cleanup() { bed_.reset(); }

  void fillsTheFieldsFromAFreshFetch() {
    bed_->Server().Add(Ok(
        UserRecord("Ann B. Example", "annb", "Lyon", "Writes &amp; reads", "http://b.example/")));
    Open();

    const std::vector<WireRequest> sent = bed_->RequestsAfter(signed_in_requests_);
    QCOMPARE(sent.size(), std::size_t{1});
    QCOMPARE(sent[0].request_line, QByteArray("GET /users/show/ann HTTP/1.1"));
    QCOMPARE(sent[0].Header("Authorization"), kAnnCredentials);
    QCOMPARE(Field("RealName"), QStringLiteral("Ann B. Example"));
    QCOMPARE(Field("Location"), QStringLiteral("Lyon"));
    QCOMPARE(Description()->Text(), QStringLiteral("Writes & reads"));
    QCOMPARE(Field("Url"), QStringLiteral("http://b.example/"));
    QCOMPARE(Field("UserName"), QStringLiteral("annb"));
    // The fetch goes into the main window's Account state as well.
    QCOMPARE(bed_->KIV().Account().ScreenName, std::string("annb"));
    QCOMPARE(bed_->KIV().Account().ProfileLocation, std::string("Lyon"));
  }

  // Shown for real, in its modal loop, the dialog fetches before the user
  // can type.
  void fetchesWhenShownInItsModalLoop() {
    bed_->Server().Add(Ok(UserRecord("Ann", "ann", "Oslo", "", "")));
    plumwit::UiSeams::ModalDialog() = nullptr;
    QString location_while_open;
    QTimer::singleShot(0, dialog_, [&] {
      location_while_open = Field("Location");
      dialog_->close();
    });
    bed_->KIV().ProfilebtnClick();
    QCOMPARE(location_while_open, QStringLiteral("Oslo"));
    QVERIFY(dialog_->isHidden());
  }

  void leavesAFieldEmptyForAMissingElement() {
    bed_->Server().Add(
        Ok("<?xml version=\"1.0\"?>\n<user>\n  <name>Ann</name>\n  "
           "<screen_name>ann</screen_name>\n</user>\n"));
    Open();
    QCOMPARE(Field("RealName"), QStringLiteral("Ann"));
    QCOMPARE(Field("Location"), QString());
    QCOMPARE(Description()->Text(), QString());
    QCOMPARE(Field("Url"), QString());
  }

  // The limit holds for what the user types: a longer description from the
  // service is shown and sent back whole, and typing adds nothing to it.
  void keepsALongerFetchedDescriptionWhole() {
    const QString long_text(170, QLatin1Char('d'));
    bed_->Server().Add(Ok(UserRecord("Ann", "ann", "", long_text.toStdString(), "")));
    Open();
    QCOMPARE(Description()->Text(), long_text);
    Description()->setFocus();
    Description()->moveCursor(QTextCursor::End);
    QTest::keyClicks(Description(), QStringLiteral("x"));
    QCOMPARE(Description()->Text(), long_text);
    QTest::keyClick(Description(), Qt::Key_Backspace);
    QCOMPARE(Description()->Length(), 169);
    bed_->Server().Add(Ok("<user/>"));
    Click("sButton2");
    const std::vector<WireRequest> sent = bed_->RequestsAfter(signed_in_requests_ + 1);
    QCOMPARE(sent.size(), std::size_t{1});
    QVERIFY(sent[0].request_line.contains("&description=" + QByteArray(169, 'd') + "&url="));
  }

  // All five keys, in their order, empty values included, each value as
  // typed; the dialog's own client carries no headers the main window's
  // client may have been given.
  void sendsAllFiveFieldsAndReportsSuccess() {
    bed_->Server().Add(Ok(UserRecord("Ann", "ann", "Paris", "", "")));
    Open();
    SetField("RealName", QStringLiteral("Ann & Co"));
    SetField("Location", QString());
    Description()->SetText(QStringLiteral("line one\nline #2"));
    SetField("Url", QString());
    SetField("UserName", QStringLiteral("ann co"));
    bed_->Server().Add(Ok("<user/>"));
    Click("sButton2");

    const std::vector<WireRequest> sent = bed_->RequestsAfter(signed_in_requests_ + 1);
    QCOMPARE(sent.size(), std::size_t{1});
    QCOMPARE(sent[0].request_line,
             QByteArray("POST /account/update_profile.xml?name=Ann%20%26%20Co&screen_name=ann%20co"
                        "&location=&description=line%20one%0D%0Aline%20%232&url= HTTP/1.0"));
    QCOMPARE(sent[0].Header("Authorization"), kAnnCredentials);
    QCOMPARE(sent[0].body, QByteArray());

    QCOMPARE(bed_->messages,
             QStringList{QStringLiteral("Your ") + QString::fromUtf8(plumwit::build::kServiceSite) +
                         QStringLiteral(" profile was successfully updated!")});
    QVERIFY(dialog_->isHidden());
    for (const char* name : {"RealName", "Location", "Url", "UserName"})
      QCOMPARE(Field(name), QString());
    QCOMPARE(Description()->Text(), QString());
  }

  void hasTheDefaultSiteInTheSuccessMessage() {
    if (QByteArray(plumwit::build::kServiceSite) != "twitter.com")
      QSKIP("built for another site name");
    bed_->Server().Add(Ok(UserRecord("Ann", "ann", "", "", "")));
    Open();
    bed_->Server().Add(Ok("<user/>"));
    Click("sButton2");
    QCOMPARE(bed_->messages,
             QStringList{QStringLiteral("Your twitter.com profile was successfully updated!")});
  }

  void reportsAFailedUpdateAndKeepsTheFields_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("reason");
    QTest::newRow("refused credentials") << 401 << "Unauthorized";
    QTest::newRow("server error") << 500 << "Internal Server Error";
  }

  void reportsAFailedUpdateAndKeepsTheFields() {
    QFETCH(int, code);
    QFETCH(QString, reason);
    bed_->Server().Add(Ok(UserRecord("Ann", "ann", "Paris", "Hi", "http://a.example/")));
    Open();
    bed_->Server().Add(Reply(code, reason.toStdString(), "<hash><error>no</error></hash>"));
    Click("sButton2");
    QCOMPARE(bed_->messages,
             QStringList{QStringLiteral("Error : HTTP/1.1 %1 %2").arg(code).arg(reason)});
    QVERIFY(dialog_->isHidden());
    QCOMPARE(Field("RealName"), QStringLiteral("Ann"));
    QCOMPARE(Field("UserName"), QStringLiteral("ann"));
    QCOMPARE(Description()->Text(), QStringLiteral("Hi"));
  }

  void doesNothingWithoutAUserName() {
    bed_->Server().Add(Ok(UserRecord("Ann", "ann", "", "", "")));
    Open();
    SetField("UserName", QStringLiteral("  \t "));
    Click("sButton2");
    QCOMPARE(bed_->Server().RequestCount(), signed_in_requests_ + 1);
    QVERIFY(dialog_->isVisible());
    QVERIFY(bed_->messages.isEmpty());
  }

  void cancelSendsNothing() {
    bed_->Server().Add(Ok(UserRecord("Ann", "ann", "", "", "")));
    Open();
    SetField("RealName", QStringLiteral("changed"));
    Click("sButton1");
    QVERIFY(dialog_->isHidden());
    QCOMPARE(bed_->Server().RequestCount(), signed_in_requests_ + 1);
    QCOMPARE(Field("RealName"), QStringLiteral("changed"));
  }

  // A failed fetch is shown by the default error display; the dialog opens
  // all the same with what its fields held before.
  void opensWithTheOldFieldsWhenTheFetchFails() {
    bed_->Server().Add(Ok(UserRecord("Ann", "ann", "Paris", "", "")));
    Open();
    SetField("Location", QStringLiteral("typed"));
    Click("sButton1");
    bed_->Server().Add(Reply(500, "Internal Server Error", "oops"));
    Open();
    QCOMPARE(bed_->errors, QStringList{QStringLiteral("HTTP/1.1 500 Internal Server Error.")});
    QCOMPARE(Field("Location"), QStringLiteral("typed"));
    QCOMPARE(bed_->KIV().Account().ProfileLocation, std::string("Paris"));
  }

  void fetchesAgainOnEveryOpening() {
    bed_->Server().Add(Ok(UserRecord("Ann", "ann", "Paris", "", "")));
    Open();
    bed_->Server().Add(Ok("<user/>"));
    Click("sButton2");
    bed_->Server().Add(Ok(UserRecord("Ann", "ann", "Rome", "", "")));
    Open();
    QCOMPARE(Field("Location"), QStringLiteral("Rome"));
    QCOMPARE(bed_->Server().RequestCount(), signed_in_requests_ + 3);
  }

  // Each opening starts in the name, whichever button closed it last.
  void everyOpeningStartsInTheName() {
    const auto name = dialog_->findChild<QLineEdit*>(QStringLiteral("RealName"));
    const auto press_after_tabs = [this](int tabs) {
      for (int tab = 0; tab < tabs; ++tab) QTest::keyClick(Focused(), Qt::Key_Tab);
      QVERIFY(qobject_cast<QPushButton*>(Focused()));
      QTest::keyClick(Focused(), Qt::Key_Space);
      QVERIFY(dialog_->isHidden());
    };
    bed_->Server().Add(Ok(UserRecord("Ann", "ann", "", "", "")));
    Open();
    QCOMPARE(Focused(), static_cast<QWidget*>(name));
    press_after_tabs(4);  // Cancel

    bed_->Server().Add(Ok(UserRecord("Ann", "ann", "", "", "")));
    bed_->Server().Add(Ok("<user/>"));
    Open();
    QCOMPARE(Focused(), static_cast<QWidget*>(name));
    press_after_tabs(5);  // Update profile
    QCOMPARE(bed_->messages.size(), 1);

    bed_->Server().Add(Ok(UserRecord("Ann", "ann", "", "", "")));
    Open();
    QCOMPARE(Focused(), static_cast<QWidget*>(name));
    // As with Tab, the name comes selected: typing replaces it.
    QTest::keyClicks(Focused(), QStringLiteral("Bea"));
    QCOMPARE(name->text(), QStringLiteral("Bea"));
  }

 private:
  // Where the user's keys go while the dialog is in front.
  QWidget* Focused() const { return dialog_->focusWidget(); }

  void Open() {
    bed_->KIV().ProfilebtnClick();
    QVERIFY(dialog_->isVisible());
  }
  QString Field(const char* name) const {
    return dialog_->findChild<QLineEdit*>(QString::fromLatin1(name))->text();
  }
  void SetField(const char* name, const QString& text) {
    dialog_->findChild<QLineEdit*>(QString::fromLatin1(name))->setText(text);
  }
  LimitedMemo* Description() const {
    return dialog_->findChild<LimitedMemo*>(QStringLiteral("Description"));
  }
  void Click(const char* name) {
    QTest::mouseClick(dialog_->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
  }

  std::unique_ptr<DialogTestBed> bed_;
  TUpdateProfile* dialog_ = nullptr;
  std::size_t signed_in_requests_ = 0;
};

PLUMWIT_GUI_TEST_MAIN(UpdateProfileTest)
#include "update_profile_test.moc"
