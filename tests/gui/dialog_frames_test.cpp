// The five dialogs' frames and the places of their controls.
#include <memory>

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "dialogs/about_dialog.h"
#include "dialogs/options_dialog.h"
#include "dialogs/post_new_tweet_dialog.h"
#include "dialogs/twitter_login_dialog.h"
#include "dialogs/update_profile_dialog.h"
#include "main_window/form_set.h"
#include "support/dialog_test_bed.h"
#include "support/gui_test_main.h"
#include "ui/modal_dialog.h"
#include "ui/ui_seams.h"

using plumwit::FormSet;
using plumwit::gui_test::DialogTestBed;

namespace {

QDialog* DialogNamed(FormSet& forms, const QString& name) {
  for (QDialog* dialog :
       std::initializer_list<QDialog*>{&forms.TwitterLogin(), &forms.PostNewTweet(), &forms.About(),
                                       &forms.Options(), &forms.UpdateProfile()}) {
    if (dialog->objectName() == name) return dialog;
  }
  return nullptr;
}

}  // namespace

class DialogFramesTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    bed_ = std::make_unique<DialogTestBed>();
    bed_->Start();
  }

  void cleanup() { bed_.reset(); }

  // Fixed size, close box only, modal; closing hides and keeps the dialog.
  void hasAFixedModalFrame_data() {
    QTest::addColumn<QString>("dialog_name");
    for (const char* name : {"PostNewTweet", "About", "Options", "UpdateProfile", "TwitterLogin"}) {
      QTest::newRow(name) << QString::fromLatin1(name);
    }
  }

  void hasAFixedModalFrame() {
    QFETCH(QString, dialog_name);
    QPointer<QDialog> dialog = DialogNamed(bed_->Forms(), dialog_name);
    QVERIFY(dialog);
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    QVERIFY(dialog->isModal());
    const Qt::WindowFlags flags = dialog->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(dialog->isHidden());
    dialog->show();
    dialog->close();
    QCoreApplication::processEvents();
    QVERIFY(dialog);
    QVERIFY(dialog->isHidden());
  }

  // For real, without the recording seam: a modal loop, the dialog in the
  // middle of the screen, hidden again once closed.
  void showsModallyInTheMiddleOfTheScreen_data() {
    QTest::addColumn<QString>("dialog_name");
    for (const char* name : {"PostNewTweet", "About", "Options"})
      QTest::newRow(name) << QString::fromLatin1(name);
  }

  void showsModallyInTheMiddleOfTheScreen() {
    QFETCH(QString, dialog_name);
    QDialog* dialog = DialogNamed(bed_->Forms(), dialog_name);
    plumwit::UiSeams::ModalDialog() = nullptr;
    bool was_modal = false;
    QPoint centre;
    QTimer::singleShot(0, dialog, [&] {
      was_modal = QApplication::activeModalWidget() == dialog;
      centre = dialog->frameGeometry().center();
      dialog->close();
    });
    plumwit::ShowModal(*dialog);
    QVERIFY(was_modal);
    const QPoint screen_centre = QGuiApplication::primaryScreen()->geometry().center();
    QVERIFY2((centre - screen_centre).manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1,%2").arg(centre.x()).arg(centre.y())));
    QVERIFY(dialog->isHidden());
  }

  void placesItsControls_data() {
    QTest::addColumn<QString>("dialog_name");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("place");
    const auto row = [](const char* dialog, const char* control, QRect place) {
      QTest::addRow("%s.%s", dialog, control)
          << QString::fromLatin1(dialog) << QString::fromLatin1(control) << place;
    };
    row("PostNewTweet", "sLabelFX1", QRect(8, 8, 160, 25));
    row("PostNewTweet", "ChrsLeftLabel", QRect(432, 24, 78, 22));
    row("PostNewTweet", "CharsLeft", QRect(440, 40, 57, 39));
    row("PostNewTweet", "MemoPost", QRect(8, 32, 401, 73));
    row("PostNewTweet", "tweetbutton", QRect(416, 80, 100, 28));
    row("UpdateProfile", "RealName", QRect(16, 24, 201, 21));
    row("UpdateProfile", "Location", QRect(232, 24, 201, 21));
    row("UpdateProfile", "Description", QRect(16, 72, 417, 73));
    row("UpdateProfile", "Url", QRect(16, 176, 201, 21));
    row("UpdateProfile", "UserName", QRect(232, 176, 201, 21));
    row("UpdateProfile", "sButton1", QRect(336, 216, 91, 25));
    row("UpdateProfile", "sButton2", QRect(240, 216, 91, 25));
    row("UpdateProfile", "Bevel1", QRect(8, 200, 425, 9));
    row("Options", "Image1", QRect(0, 0, 217, 217));
    row("Options", "sLabelFX4", QRect(200, 0, 162, 29));
    row("Options", "RefreshTime", QRect(216, 56, 217, 22));
    row("Options", "NeverRefresh", QRect(216, 80, 226, 19));
    row("Options", "WindowsStart", QRect(216, 104, 197, 19));
    row("Options", "sButton2", QRect(272, 136, 75, 25));
    row("Options", "sButton1", QRect(352, 136, 75, 25));
    row("About", "ClientImage", QRect(8, 0, 65, 65));
    row("About", "sLabelFX1", QRect(80, 16, 321, 41));
    row("About", "PayPalDonateButton", QRect(248, 280, 121, 49));
    row("About", "sButton1", QRect(312, 344, 75, 25));
  }

  void placesItsControls() {
    QFETCH(QString, dialog_name);
    QFETCH(QString, control);
    QFETCH(QRect, place);
    QDialog* dialog = DialogNamed(bed_->Forms(), dialog_name);
    QVERIFY(dialog);
    const QWidget* widget = dialog->findChild<QWidget*>(control);
    QVERIFY2(widget, qPrintable(control));
    QCOMPARE(widget->geometry(), place);
  }

  // Tab goes through the fields in their designed order.
  void tabsThroughTheProfileFieldsInOrder() {
    QDialog* dialog = DialogNamed(bed_->Forms(), QStringLiteral("UpdateProfile"));
    QStringList order;
    QWidget* widget = dialog->findChild<QWidget*>(QStringLiteral("RealName"));
    for (int i = 0; i < 7; ++i) {
      order << widget->objectName();
      widget = widget->nextInFocusChain();
      while (widget->focusPolicy() == Qt::NoFocus) widget = widget->nextInFocusChain();
    }
    QCOMPARE(order, (QStringList{"RealName", "Location", "Description", "Url", "sButton1",
                                 "sButton2", "UserName"}));
  }

 private:
  std::unique_ptr<DialogTestBed> bed_;
};

PLUMWIT_GUI_TEST_MAIN(DialogFramesTest)
#include "dialog_frames_test.moc"
