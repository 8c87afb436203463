// Run on a screen of 800 by 600 pixels: the window opens on the screen, and
// the start-up warning reports the real screen.
#include <QGuiApplication>
#include <QScreen>
#include <QtTest>

#include "support/gui_fixture.h"
#include "support/gui_test_main.h"

using plumwit::test::GuiFixture;

class SmallScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void windowFrameStaysOnTheScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    QCOMPARE(screen->size(), QSize(800, 600));
    GuiFixture app;
    app.screen = screen->size();
    app.Start();
    QCOMPARE(app.warnings.size(), 2);
    QCOMPARE(app.warnings.at(1),
             QStringLiteral("The horizontal screen resolution must be at least 1024 pixels, but "
                            "is only 800 pixels.\r\nThe vertical screen resolution must be at "
                            "least 768 pixels, but is only 600 pixels."));

    app.Kiv().show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.Kiv()));
    const QRect available = screen->availableGeometry();
    // Taller than the screen: the top edge, with the title bar, stays on it.
    QTRY_COMPARE(app.Kiv().frameGeometry().top(), available.top());
    const QRect frame = app.Kiv().frameGeometry();
    QVERIFY2(frame.left() >= available.left() && frame.right() <= available.right(),
             qPrintable(QStringLiteral("%1..%2").arg(frame.left()).arg(frame.right())));
    // Moved no further than needed: its right edge touches the screen's.
    QCOMPARE(frame.right(), available.right());
  }
};

PLUMWIT_GUI_TEST_MAIN(SmallScreenTest)
#include "small_screen_test.moc"
