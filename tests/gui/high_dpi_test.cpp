// Run with QT_SCALE_FACTOR=2: every picture is drawn for twice the pixels.
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "dialogs/about_dialog.h"
#include "dialogs/options_dialog.h"
#include "dialogs/post_new_tweet_dialog.h"
#include "support/gui_fixture.h"
#include "support/gui_test_main.h"

using plumwit::test::GuiFixture;

class HighDpiTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QCOMPARE(qgetenv("QT_SCALE_FACTOR"), QByteArray("2")); }

  void picturesHaveTheScreensPixelRatio_data() {
    QTest::addColumn<int>("window");  // 0 main window, 1 options, 2 about
    QTest::addColumn<QString>("label");
    QTest::addColumn<QSize>("size");  // in device independent pixels
    QTest::newRow("logo") << 0 << "Image1" << QSize(243, 235);
    QTest::newRow("options picture") << 1 << "Image1" << QSize(217, 217);
    QTest::newRow("about picture") << 2 << "ClientImage" << QSize(64, 64);
  }

  void picturesHaveTheScreensPixelRatio() {
    QFETCH(int, window);
    QFETCH(QString, label);
    QFETCH(QSize, size);
    GuiFixture app;
    app.Start();
    QWidget* const windows[] = {&app.Kiv(), &app.Forms().Options(), &app.Forms().About()};
    windows[window]->show();
    QVERIFY(QTest::qWaitForWindowExposed(windows[window]));
    auto* picture = windows[window]->findChild<QLabel*>(label);
    QVERIFY(picture);
    QCOMPARE(picture->devicePixelRatioF(), 2.0);
    const QPixmap pixmap = picture->pixmap();
    QCOMPARE(pixmap.devicePixelRatio(), 2.0);
    QCOMPARE(pixmap.size(), size * 2);
  }

  void iconsAreDrawnForThePixelsTheyCover_data() {
    QTest::addColumn<int>("window");  // 0 main window, 1 new tweet, 2 about
    QTest::addColumn<QString>("button");
    for (const char* name : {"LoginLogout", "NewTweet", "RefreshTweets", "ToolButton2",
                             "Profilebtn", "ToolButton3", "Login"}) {
      QTest::newRow(name) << 0 << QString::fromLatin1(name);
    }
    QTest::newRow("tweetbutton") << 1 << "tweetbutton";
    QTest::newRow("PayPalDonateButton") << 2 << "PayPalDonateButton";
  }

  void iconsAreDrawnForThePixelsTheyCover() {
    QFETCH(int, window);
    QFETCH(QString, button);
    GuiFixture app;
    app.Start();
    QWidget* const windows[] = {&app.Kiv(), &app.Forms().PostNewTweet(), &app.Forms().About()};
    windows[window]->show();
    QVERIFY(QTest::qWaitForWindowExposed(windows[window]));
    auto* control = windows[window]->findChild<QAbstractButton*>(button);
    QVERIFY(control);
    const qreal ratio = control->devicePixelRatioF();
    QCOMPARE(ratio, 2.0);
    for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
      const QPixmap pixmap = control->icon().pixmap(control->iconSize(), ratio, mode);
      QCOMPARE(pixmap.devicePixelRatio(), 2.0);
      QCOMPARE(pixmap.size(), control->iconSize() * 2);
    }
  }

  void windowIconOffersEverySize() {
    GuiFixture app;
    app.Start();
    const QIcon icon = app.Kiv().windowIcon();
    QVERIFY(!icon.availableSizes().isEmpty());
    QCOMPARE(icon.pixmap(QSize(32, 32), 2.0).size(), QSize(64, 64));
  }
};

PLUMWIT_GUI_TEST_MAIN(HighDpiTest)
#include "high_dpi_test.moc"
