// The about dialog: five links through the link seam, and its close button.
#include <memory>

#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "core/build_config.h"
#include "core/service/endpoints.h"
#include "dialogs/about_dialog.h"
#include "main_window/form_set.h"
#include "main_window/main_window.h"
#include "support/dialog_test_bed.h"
#include "support/gui_test_main.h"
#include "ui/link_label.h"

using plumwit::TAbout;
using plumwit::gui_test::DialogTestBed;

class AboutDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    bed_ = std::make_unique<DialogTestBed>();
    bed_->Start();
    dialog_ = &bed_->Forms().About();
    bed_->KIV().findChild<QToolButton*>(QStringLiteral("ToolButton3"))->click();
    QVERIFY(dialog_->isVisible());
  }

  void cleanup() { bed_.reset(); }

  void opensOnePagePerClickAndStaysOpen() {
    for (const char* name : {"sWebLabel4", "sWebLabel1", "sWebLabel2", "sWebLabel3"}) {
      QTest::mouseClick(dialog_->findChild<plumwit::LinkLabel*>(QString::fromLatin1(name)),
                        Qt::LeftButton);
    }
    QTest::mouseClick(dialog_->findChild<QPushButton*>(QStringLiteral("PayPalDonateButton")),
                      Qt::LeftButton);

    const QString service = QStringLiteral("http://127.0.0.1:%1/").arg(bed_->Server().Port());
    const QStringList expected = {
        QString::fromUtf8(plumwit::build::kMakerHome),
        QStringLiteral("http://www.gnu.org/licenses/gpl.html"),
        service,
        QStringLiteral("http://") + QString::fromUtf8(plumwit::build::kServiceDeveloperSite) +
            QStringLiteral("/pages/api_terms"),
        QStringLiteral("https://www.paypal.com/cgi-bin/webscr?cmd=_xclick&business=") +
            QString::fromStdString(plumwit::PercentEncode(plumwit::build::kMakerPayPalAccount)) +
            QStringLiteral(
                "&item_name=Plumwit%20Donation&currency_code=USD&no_note=1&no_shipping=1"),
    };
    QCOMPARE(bed_->links, expected);
    QVERIFY(dialog_->isVisible());
  }

  void opensFromTheTrayAndClosesWithItsButton() {
    QTest::mouseClick(dialog_->findChild<QPushButton*>(QStringLiteral("sButton1")), Qt::LeftButton);
    QVERIFY(dialog_->isHidden());
    bed_->TrayItem("AboutTwitterClient1")->trigger();
    QVERIFY(dialog_->isVisible());
    QCOMPARE(bed_->modal_dialogs, QStringList({QStringLiteral("About"), QStringLiteral("About")}));
  }

  // Its one input, Close, has the focus at each opening, even after Tab
  // took it to a link before the dialog was closed.
  void everyOpeningStartsOnClose() {
    for (int opening = 0; opening < 2; ++opening) {
      QCOMPARE(dialog_->focusWidget()->objectName(), QStringLiteral("sButton1"));
      QTest::keyClick(dialog_->focusWidget(), Qt::Key_Tab);
      QCOMPARE(dialog_->focusWidget()->objectName(), QStringLiteral("sWebLabel4"));
      QTest::keyClick(dialog_->focusWidget(), Qt::Key_Escape);
      QVERIFY(dialog_->isHidden());
      bed_->KIV().findChild<QToolButton*>(QStringLiteral("ToolButton3"))->click();
    }
  }

 private:
  std::unique_ptr<DialogTestBed> bed_;
  TAbout* dialog_ = nullptr;
};

PLUMWIT_GUI_TEST_MAIN(AboutDialogTest)
#include "about_dialog_test.moc"
