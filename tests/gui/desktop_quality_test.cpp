// The program under a hostile desktop: a dark colour scheme, keyboard-only
// use, a screen reader, a small screen and a tray that shows tooltips.
#include <algorithm>
#include <cmath>

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleFactory>
#include <QSystemTrayIcon>
#include <QToolTip>
#include <QtTest>

#include "core/build_config.h"
#include "core/settings/ini_file.h"
#include "timeline/timeline_view.h"
#include "dialogs/about_dialog.h"
#include "dialogs/options_dialog.h"
#include "dialogs/post_new_tweet_dialog.h"
#include "dialogs/update_profile_dialog.h"
#include "main_window/tray_presence.h"
#include "support/gui_fixture.h"
#include "support/gui_test_main.h"
#include "support/loopback_http_server.h"
#include "support/service_replies.h"
#include "ui/link_label.h"
#include "ui/ui_seams.h"
#include "ui/user_messages.h"
#include "ui/window_placement.h"

using plumwit::test::GuiFixture;
using plumwit::test::LoopbackHttpServer;

namespace {

// A dark scheme of the kind desktop colour tools install: light text on dark
// backgrounds in every role.
QPalette DarkDesktopPalette() {
  QPalette dark;
  const QColor background(0x2b, 0x2b, 0x2b);
  const QColor text(0xf0, 0xf0, 0xf0);
  for (auto role : {QPalette::Window, QPalette::Base, QPalette::AlternateBase, QPalette::Button,
                    QPalette::ToolTipBase}) {
    dark.setColor(QPalette::All, role, background);
  }
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                    QPalette::ToolTipText, QPalette::BrightText, QPalette::HighlightedText}) {
    dark.setColor(QPalette::All, role, text);
  }
  dark.setColor(QPalette::All, QPalette::Highlight, QColor(0x80, 0x80, 0x80));
  dark.setColor(QPalette::Disabled, QPalette::Text, QColor(0x70, 0x70, 0x70));
  dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x70, 0x70, 0x70));
  return dark;
}

double Luminance(const QColor& colour) {
  const auto channel = [](double value) {
    value /= 255.0;
    return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(colour.red()) + 0.7152 * channel(colour.green()) +
         0.0722 * channel(colour.blue());
}

// The contrast ratio of two colours, 1 (none) to 21 (black on white).
double Contrast(const QColor& one, const QColor& other) {
  const double a = Luminance(one);
  const double b = Luminance(other);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// Readable text, the usual threshold for body text.
constexpr double kReadable = 4.5;

void ScriptAccount(LoopbackHttpServer& server, const std::string& timeline_status,
                   const std::string& timeline) {
  server.Script("/users/show/ann", "200 OK", "text/xml",
                plumwit::test::UserRecord("Ann Example", "ann", "4", "5", "6"));
  server.Script("/statuses/home_timeline/ann.xml", timeline_status, "text/xml", timeline);
}

void ScriptGoodAccount(LoopbackHttpServer& server) {
  ScriptAccount(
      server, "200 OK",
      plumwit::test::OneStatusTimeline("Hello from bob", "http://" + server.Host() + "/bob.png"));
}

// Every window of the program, the main window first.
QList<QWidget*> Windows(GuiFixture& app) {
  return {&app.Kiv(), &app.Forms().PostNewTweet(), &app.Forms().About(), &app.Forms().Options(),
          &app.Forms().UpdateProfile()};
}

QWidget* FindIn(QWidget* window, const QString& name) {
  return window->objectName() == name ? window : window->findChild<QWidget*>(name);
}

void ShowActive(QWidget& window) {
  window.show();
  window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&window));
}

// A top-level widget that is none of the program's windows, such as the
// notification area's icon widget, and that notes its tooltip events.
class StrayWidget : public QWidget {
 public:
  int tooltip_events = 0;

 protected:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::ToolTip) ++tooltip_events;
    return QWidget::event(event);
  }
};

}  // namespace

class DesktopQualityTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();

  void typedTextContrastsWithItsBoxUnderADarkScheme();
  void typedTextIsVisibleOnScreen();
  void messageBoxesAndDisabledTextUseTheSkin();

  void designedPositionIsKeptWhenTheFrameFits_data();
  void designedPositionIsKeptWhenTheFrameFits();

  void focusGoesToTheTweetBoxAfterSignIn();
  void focusGoesToTheUserNameAfterAFailedSignIn();
  void focusGoesToTheUserNameAfterARefusedPassword();
  void enterInTheBoxesDoesNotSignIn();
  void everyToolBarCommandHasAShortcut();
  void tabReachesTheLinksAndTheToolBar();
  void linkLabelsOpenWithEnterOrSpace();
  void dialogsCloseWithEscAndTheirMainButtonsAnswerEnter();

  void controlsHaveAccessibleNamesAndDescriptions_data();
  void controlsHaveAccessibleNamesAndDescriptions();
  void countsReadAsLabelAndNumber();

  void onlyTheProgramWindowsTooltipsAreSwallowed();
  void doubleClickWithAnyButtonRestores_data();
  void doubleClickWithAnyButtonRestores();
};

void DesktopQualityTest::initTestCase() {
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setPalette(DarkDesktopPalette());
}

void DesktopQualityTest::typedTextContrastsWithItsBoxUnderADarkScheme() {
  GuiFixture app;
  app.Start();
  int checked = 0;
  for (QWidget* window : Windows(app)) {
    window->ensurePolished();
    for (QWidget* control : window->findChildren<QWidget*>()) {
      control->ensurePolished();
      const QPalette& colours = control->palette();
      const QString where = window->objectName() + '/' + control->objectName();
      if (qobject_cast<QLineEdit*>(control) || qobject_cast<QPlainTextEdit*>(control)) {
        QVERIFY2(Contrast(colours.color(QPalette::Active, QPalette::Text),
                          colours.color(QPalette::Active, QPalette::Base)) >= kReadable,
                 qPrintable(where));
        QVERIFY2(Contrast(colours.color(QPalette::HighlightedText),
                          colours.color(QPalette::Highlight)) >= 3.0,
                 qPrintable(where));
        ++checked;
      } else if (auto* list = qobject_cast<QComboBox*>(control)) {
        const QPalette& items = list->view()->palette();
        QVERIFY2(Contrast(colours.color(QPalette::Active, QPalette::Text),
                          colours.color(QPalette::Active, QPalette::Base)) >= kReadable,
                 qPrintable(where));
        QVERIFY2(Contrast(items.color(QPalette::Active, QPalette::Text),
                          items.color(QPalette::Active, QPalette::Base)) >= kReadable,
                 qPrintable(where + " list"));
        ++checked;
      } else if (auto* button = qobject_cast<QPushButton*>(control);
                 button && !button->text().isEmpty()) {
        // Captioned buttons are drawn light by the skin.
        QVERIFY2(colours.color(QPalette::Active, QPalette::ButtonText).lightness() < 128,
                 qPrintable(where));
      } else if (qobject_cast<QCheckBox*>(control)) {
        // Its caption is drawn on the window's light background.
        QVERIFY2(Contrast(colours.color(QPalette::Active, QPalette::WindowText),
                          colours.color(QPalette::Active, QPalette::Window)) >= kReadable,
                 qPrintable(where));
        QVERIFY2(colours.color(QPalette::Active, QPalette::WindowText).lightness() < 128,
                 qPrintable(where));
        ++checked;
      }
    }
  }
  // Two sign-in boxes, the remember box, the tweet memo, the new-tweet memo,
  // the period list, two option boxes, four profile edits and the memo.
  QVERIFY2(checked >= 13, qPrintable(QString::number(checked)));
}

void DesktopQualityTest::typedTextIsVisibleOnScreen() {
  GuiFixture app;
  app.Start();
  app.Kiv().show();
  QVERIFY(QTest::qWaitForWindowExposed(&app.Kiv()));
  auto* box = app.Find<QLineEdit>("HomeUsername");
  box->setText(QStringLiteral("MMMMMMMM"));
  box->deselect();
  const QImage shot = box->grab().toImage();
  const qreal ratio = shot.devicePixelRatio();
  // Inside the border, left of the text: the box's own background.
  const QColor background = shot.pixelColor(QPoint(3, 3) * ratio);
  QColor darkest = background;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width() / 2; ++x) {
      const QColor pixel = shot.pixelColor(x, y);
      if (Luminance(pixel) < Luminance(darkest)) darkest = pixel;
    }
  }
  QVERIFY2(background.lightness() > 200, qPrintable(background.name()));
  QVERIFY2(Contrast(darkest, background) >= kReadable,
           qPrintable(darkest.name() + " on " + background.name()));
}

void DesktopQualityTest::messageBoxesAndDisabledTextUseTheSkin() {
  GuiFixture app;
  app.Start();
  // Disabled captions stay greyed on the light skin, not the dark scheme's.
  auto* login = app.Find<QPushButton>("Login");
  QVERIFY(!login->isEnabled());
  const QPalette& colours = login->palette();
  const QColor greyed = colours.color(QPalette::Disabled, QPalette::ButtonText);
  QVERIFY2(greyed.lightness() > 100 && greyed.lightness() < 200, qPrintable(greyed.name()));
  // A message box opened by the program takes the skin's palette.
  plumwit::UiSeams::MessageBox() = nullptr;
  QColor text;
  QColor button_text;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    for (QLabel* label : box->findChildren<QLabel*>()) {
      if (label->text() == QStringLiteral("Hello"))
        text = label->palette().color(QPalette::WindowText);
    }
    button_text = box->findChild<QPushButton*>()->palette().color(QPalette::ButtonText);
    box->accept();
  });
  plumwit::ShowMessage(QStringLiteral("Hello"));
  QVERIFY(text.isValid() && button_text.isValid());
  // Dark on the box's light background.
  QVERIFY2(text.lightness() < 128, qPrintable(text.name()));
  QVERIFY2(button_text.lightness() < 128, qPrintable(button_text.name()));
}

void DesktopQualityTest::designedPositionIsKeptWhenTheFrameFits_data() {
  QTest::addColumn<QRect>("available");
  QTest::addColumn<QPoint>("expected");
  // A frame of 330 by 700 designed at 811, 121.
  QTest::newRow("fits") << QRect(0, 0, 1280, 1024) << QPoint(811, 121);
  QTest::newRow("fits below a top panel") << QRect(0, 30, 1280, 994) << QPoint(811, 121);
  QTest::newRow("exactly fits") << QRect(0, 0, 1141, 821) << QPoint(811, 121);
  QTest::newRow("one pixel too narrow") << QRect(0, 0, 1140, 1024) << QPoint(810, 121);
  QTest::newRow("1024x768 with a bottom panel") << QRect(0, 0, 1024, 740) << QPoint(694, 40);
  QTest::newRow("800x600: top-left on screen") << QRect(0, 0, 800, 600) << QPoint(470, 0);
  QTest::newRow("1920x1080 at 150 %") << QRect(0, 0, 1280, 690) << QPoint(811, 0);
  QTest::newRow("panel at the top of a small screen") << QRect(0, 40, 800, 560) << QPoint(470, 40);
  QTest::newRow("second screen to the right") << QRect(1280, 0, 1920, 1080) << QPoint(1280, 121);
  QTest::newRow("narrower than the frame") << QRect(0, 0, 320, 1024) << QPoint(0, 121);
}

void DesktopQualityTest::designedPositionIsKeptWhenTheFrameFits() {
  QFETCH(QRect, available);
  QFETCH(QPoint, expected);
  QCOMPARE(plumwit::FittedFramePosition(QPoint(811, 121), QSize(330, 700), available), expected);
}

void DesktopQualityTest::focusGoesToTheTweetBoxAfterSignIn() {
  LoopbackHttpServer server;
  ScriptGoodAccount(server);
  GuiFixture app(server.Host());
  app.Start();
  QCOMPARE(app.Kiv().focusWidget(), app.Find<QWidget>("HomeUsername"));
  app.SignIn(QStringLiteral("ann"), QStringLiteral("secret"));
  QVERIFY(app.Kiv().SignedIn());
  QCOMPARE(app.Kiv().focusWidget(), app.Find<QWidget>("Tweet"));
}

void DesktopQualityTest::focusGoesToTheUserNameAfterAFailedSignIn() {
  LoopbackHttpServer server;  // every path answers 404
  GuiFixture app(server.Host());
  app.Start();
  app.Find<QWidget>("HomePassword")->setFocus();
  app.SignIn(QStringLiteral("nobody"), QStringLiteral("secret"));
  QCOMPARE(app.messages.size(), 1);
  QCOMPARE(app.Kiv().focusWidget(), app.Find<QWidget>("HomeUsername"));
}

void DesktopQualityTest::focusGoesToTheUserNameAfterARefusedPassword() {
  LoopbackHttpServer server;
  ScriptAccount(server, "401 Unauthorized", plumwit::test::RefusalDocument());
  GuiFixture app(server.Host());
  app.Start();
  app.SignIn(QStringLiteral("ann"), QStringLiteral("wrong"));
  QCOMPARE(app.messages.size(), 1);
  QVERIFY(app.Find<QWidget>("HomeLogin")->isVisibleTo(&app.Kiv()));
  QCOMPARE(app.Kiv().focusWidget(), app.Find<QWidget>("HomeUsername"));
}

void DesktopQualityTest::enterInTheBoxesDoesNotSignIn() {
  LoopbackHttpServer server;
  ScriptGoodAccount(server);
  GuiFixture app(server.Host());
  app.Start();
  ShowActive(app.Kiv());
  auto* password = app.Find<QLineEdit>("HomePassword");
  app.Find<QLineEdit>("HomeUsername")->setText(QStringLiteral("ann"));
  password->setText(QStringLiteral("secret"));
  password->setFocus();
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) QTest::keyClick(password, key);
  QTest::qWait(50);
  QVERIFY(!app.Kiv().SignedIn());
  QVERIFY(server.Paths().empty());
}

void DesktopQualityTest::everyToolBarCommandHasAShortcut() {
  LoopbackHttpServer server;
  ScriptGoodAccount(server);
  GuiFixture app(server.Host());
  app.Start();
  ShowActive(app.Kiv());
  app.SignIn(QStringLiteral("ann"), QStringLiteral("secret"));
  QVERIFY(app.Kiv().SignedIn());
  // Starting the web engine may take the activation away on a bare X server.
  ShowActive(app.Kiv());

  const struct {
    QKeySequence keys;
    const char* dialog;
  } dialogs[] = {{QKeySequence(Qt::CTRL | Qt::Key_T), "PostNewTweet"},
                 {QKeySequence(Qt::CTRL | Qt::Key_O), "Options"},
                 {QKeySequence(Qt::CTRL | Qt::Key_P), "UpdateProfile"},
                 {QKeySequence(Qt::Key_F1), "About"}};
  for (const auto& entry : dialogs) {
    app.modal_dialogs.clear();
    // The web view's first paints may take the activation away on a bare X server.
    ShowActive(app.Kiv());
    QTest::keySequence(app.Kiv().focusWidget(), entry.keys);
    QTRY_COMPARE(app.modal_dialogs, QStringList{QString::fromLatin1(entry.dialog)});
  }

  const auto timeline_fetches = [&] {
    const auto paths = server.Paths();
    return std::count(paths.begin(), paths.end(), "/statuses/home_timeline/ann.xml");
  };
  const auto before = timeline_fetches();
  QSignalSpy page_loaded(&app.Kiv().ClientTweets(), &plumwit::TimelineView::PageLoaded);
  ShowActive(app.Kiv());
  QTest::keySequence(app.Kiv().focusWidget(), QKeySequence(Qt::Key_F5));
  QTRY_COMPARE(timeline_fetches(), before + 1);
  // The refreshed page is in before the next key, as a user would see it.
  QTRY_VERIFY_WITH_TIMEOUT(!page_loaded.isEmpty(), 20000);
  ShowActive(app.Kiv());

  QTest::keySequence(app.Kiv().focusWidget(), QKeySequence(Qt::CTRL | Qt::Key_L));
  QTRY_VERIFY(!app.Kiv().SignedIn());

  // Signed out, the disabled commands' keys do nothing.
  app.modal_dialogs.clear();
  QTest::keySequence(app.Kiv().focusWidget(), QKeySequence(Qt::CTRL | Qt::Key_T));
  QTest::qWait(300);
  QVERIFY(app.modal_dialogs.isEmpty());
}

void DesktopQualityTest::tabReachesTheLinksAndTheToolBar() {
  GuiFixture app;
  app.Start();
  ShowActive(app.Kiv());
  app.Find<QWidget>("HomeUsername")->setFocus();
  QStringList visited;
  for (int step = 0; step < 9; ++step) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited << QApplication::focusWidget()->objectName();
  }
  // The Signin button is disabled while the boxes are empty.
  QCOMPARE(visited,
           (QStringList{"HomePassword", "Remember", "sWebLabel1", "sWebLabel2", "ToolButton2",
                        "ToolButton3", "sLabelFX2", "HomeUsername", "HomePassword"}));
  // Space presses a tool-bar button that has the focus.
  app.Find<QWidget>("ToolButton3")->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  QTRY_COMPARE(app.modal_dialogs, QStringList{QStringLiteral("About")});
}

void DesktopQualityTest::linkLabelsOpenWithEnterOrSpace() {
  GuiFixture app("example.test:8080");
  app.Start();
  const auto press = [](QWidget* window, const char* name, Qt::Key key) {
    auto* link = qobject_cast<plumwit::LinkLabel*>(FindIn(window, QString::fromLatin1(name)));
    QVERIFY2(link, name);
    QVERIFY(link->focusPolicy() & Qt::TabFocus);
    QTest::keyClick(link, key);
  };
  press(&app.Kiv(), "sWebLabel1", Qt::Key_Return);
  press(&app.Kiv(), "sWebLabel2", Qt::Key_Space);
  press(&app.Kiv(), "sLabelFX2", Qt::Key_Enter);
  QWidget* about = &app.Forms().About();
  press(about, "sWebLabel1", Qt::Key_Return);
  press(about, "sWebLabel2", Qt::Key_Space);
  press(about, "sWebLabel3", Qt::Key_Return);
  press(about, "sWebLabel4", Qt::Key_Space);
  QCOMPARE(app.links,
           (QStringList{
               "http://example.test:8080/account/resend_password",
               "http://example.test:8080/signup", QString::fromUtf8(plumwit::build::kMakerHome),
               "http://www.gnu.org/licenses/gpl.html", "http://example.test:8080/",
               QStringLiteral("http://") +
                   QString::fromUtf8(plumwit::build::kServiceDeveloperSite) + "/pages/api_terms",
               QString::fromUtf8(plumwit::build::kMakerHome)}));
  // Other keys are no click.
  QTest::keyClick(app.Find<QWidget>("sWebLabel1"), Qt::Key_A);
  QCOMPARE(app.links.size(), 7);
}

void DesktopQualityTest::dialogsCloseWithEscAndTheirMainButtonsAnswerEnter() {
  GuiFixture app;
  app.Start();
  for (QWidget* dialog : Windows(app).mid(1)) {
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    QTest::keyClick(dialog, Qt::Key_Escape);
    QVERIFY2(!dialog->isVisible(), qPrintable(dialog->objectName()));
  }

  const struct {
    QDialog* dialog;
    const char* main_button;
    const char* focus;
  } rows[] = {{&app.Forms().Options(), "sButton2", "WindowsStart"},
              {&app.Forms().UpdateProfile(), "sButton2", "Location"},
              {&app.Forms().About(), "sButton1", "sButton1"}};
  for (const auto& row : rows) {
    auto* button = row.dialog->findChild<QPushButton*>(QString::fromLatin1(row.main_button));
    QVERIFY(button->isDefault());
    row.dialog->show();
    ShowActive(*row.dialog);
    QWidget* focus = row.dialog->findChild<QWidget*>(QString::fromLatin1(row.focus));
    focus->setFocus();
    QSignalSpy clicks(button, &QPushButton::clicked);
    QTest::keyClick(focus, Qt::Key_Return);
    QCOMPARE(clicks.count(), 1);
    row.dialog->hide();
  }
  // "Save" wrote the options.
  QVERIFY(app.ProgramFileExists("settings.kiv"));

  // Enter on another focused button presses that one, not the main one.
  QDialog& options = app.Forms().Options();
  ShowActive(options);
  auto* close = options.findChild<QPushButton*>(QStringLiteral("sButton1"));
  auto* save = options.findChild<QPushButton*>(QStringLiteral("sButton2"));
  close->setFocus();
  QSignalSpy saves(save, &QPushButton::clicked);
  QSignalSpy closes(close, &QPushButton::clicked);
  QTest::keyClick(close, Qt::Key_Return);
  QCOMPARE(closes.count(), 1);
  QCOMPARE(saves.count(), 0);
}

void DesktopQualityTest::controlsHaveAccessibleNamesAndDescriptions_data() {
  QTest::addColumn<int>("window");  // index into Windows()
  QTest::addColumn<QString>("control");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("description");
  const auto row = [](int window, const char* control, const QString& name,
                      const QString& description) {
    QTest::newRow(qPrintable(QString::number(window) + '/' + control))
        << window << QString::fromLatin1(control) << name << description;
  };
  row(0, "HomeUsername", "Username", "Twitter Username");
  row(0, "HomePassword", "Password", "Twitter Password");
  row(0, "Remember", "Remember Login details", "Remember Username and Password");
  row(0, "Login", "Signin", "Twitter Signin");
  row(0, "sWebLabel1", "Forgot Password?", "Forgot Password?");
  row(0, "sWebLabel2", "Signup on Twitter!", "Signup on Twitter");
  row(0, "sLabelFX2", "Web: " + QString::fromUtf8(plumwit::build::kMakerHome),
      "Visit developer homepage");
  row(0, "LoginLogout", "Twitter Account Login", "Twitter Account Login (Ctrl+L)");
  row(0, "NewTweet", "Post new tweet", "Post new tweet (Ctrl+T)");
  row(0, "RefreshTweets", "Refresh tweet list", "Refresh tweet list (F5)");
  row(0, "ToolButton2", "Plumwit Options", "Plumwit Options (Ctrl+O)");
  row(0, "Profilebtn", "Update your profile info", "Update your profile info (Ctrl+P)");
  row(0, "ToolButton3", "About Plumwit", "About Plumwit (F1)");
  row(0, "Tweet", "Tweet", "");
  row(0, "tweetbtn", "tweet this (140)", "tweet this message");
  row(1, "MemoPost", "What\u2019s happening?", "Edit your tweet");
  row(1, "CharsLeft", "140", "Tweet remaining characters");
  row(1, "tweetbutton", "tweet this", "");
  row(2, "sWebLabel4", "Visit Orlenco homepage.", "Visit Orlenco homapepage");
  row(2, "sWebLabel1", "Read GNU  General Public License (GPL) v3", "Read Full GNU GPL v3 License");
  row(2, "sWebLabel3", "Read Twitter API Terms of Service",
      "Read fully Twitter API Terms of Service");
  row(2, "PayPalDonateButton", "Make a donation to support us", "Make a donation to support us");
  row(2, "sButton1", "Close", "Close window");
  // A list is named by its value on Linux, and labelled by the label beside it.
  row(3, "RefreshTime", "5 minutes", "");
  row(3, "NeverRefresh", "Never Refresh Timeline (Manual Refresh).",
      "Never Refresh Timeline (I will refresh timeline manual)");
  row(3, "WindowsStart", "Start Plumwit when Windows starts.", "");
  row(3, "sButton2", "Save", "");
  row(4, "RealName", "Real Name", "Your real name");
  row(4, "Location", "Location", "Your location");
  row(4, "Description", "Description", "Your account description");
  row(4, "Url", "Url", "Your Url");
  row(4, "UserName", "Username", "");
  row(4, "sButton2", "Update profile", "");
}

void DesktopQualityTest::controlsHaveAccessibleNamesAndDescriptions() {
  QFETCH(int, window);
  QFETCH(QString, control);
  QFETCH(QString, name);
  QFETCH(QString, description);
  GuiFixture app;
  app.Start();
  QWidget* widget = FindIn(Windows(app).at(window), control);
  QVERIFY(widget);
  QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(widget);
  QVERIFY(reader);
  QCOMPARE(reader->text(QAccessible::Name), name);
  QCOMPARE(reader->text(QAccessible::Description), description);
  // A box is labelled by the label beside it.
  if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget) ||
      qobject_cast<QComboBox*>(widget)) {
    const auto labels = reader->relations(QAccessible::Label);
    if (control != "Tweet") {
      QCOMPARE(labels.size(), 1);
      QString caption = labels.first().first->text(QAccessible::Name);
      if (caption.endsWith(':')) caption.chop(1);
      QVERIFY2(caption == name || name == "5 minutes", qPrintable(caption));
    }
  }
}

void DesktopQualityTest::countsReadAsLabelAndNumber() {
  LoopbackHttpServer server;
  ScriptGoodAccount(server);
  GuiFixture app(server.Host());
  app.Start();
  app.SignIn(QStringLiteral("ann"), QStringLiteral("secret"));
  const auto read = [&](const char* name) {
    return QAccessible::queryAccessibleInterface(app.Find<QWidget>(name))->text(QAccessible::Name);
  };
  QCOMPARE(read("TweetsLabel"), QStringLiteral("Tweets: 4"));
  QCOMPARE(read("FollowersLabel"), QStringLiteral("Followers: 5"));
  QCOMPARE(read("FollowingLabel"), QStringLiteral("Following: 6"));
  // Signed in, the sign-out button says what it does now.
  QAccessibleInterface* sign_out =
      QAccessible::queryAccessibleInterface(app.Find<QWidget>("LoginLogout"));
  QCOMPARE(sign_out->text(QAccessible::Name), QStringLiteral("Logout from your Twitter Account"));
  QCOMPARE(sign_out->text(QAccessible::Description),
           QStringLiteral("Logout from your Twitter Account (Ctrl+L)"));
}

void DesktopQualityTest::onlyTheProgramWindowsTooltipsAreSwallowed() {
  GuiFixture app;
  app.Start();
  app.Kiv().show();
  QVERIFY(QTest::qWaitForWindowExposed(&app.Kiv()));

  // The notification area's icon widget is a top-level of its own.
  StrayWidget tray_widget;
  tray_widget.setToolTip(QString::fromUtf8(plumwit::build::kAppTitle));
  tray_widget.resize(22, 22);
  tray_widget.show();
  QVERIFY(QTest::qWaitForWindowExposed(&tray_widget));
  QHelpEvent over_tray(QEvent::ToolTip, QPoint(5, 5), tray_widget.mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(&tray_widget, &over_tray);
  QCOMPARE(tray_widget.tooltip_events, 1);
  QTRY_VERIFY(QToolTip::isVisible());
  QCOMPARE(QToolTip::text(), QStringLiteral("Plumwit 1.7.2"));
  QToolTip::hideText();
  QTRY_VERIFY(!QToolTip::isVisible());

  // The window's own controls and the dialogs' show none, even with a tooltip.
  for (QWidget* window : Windows(app)) {
    auto* control = window->findChild<QPushButton*>();
    QVERIFY(control);
    control->setToolTip(QStringLiteral("should not show"));
    QHelpEvent over_control(QEvent::ToolTip, QPoint(2, 2), control->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(control, &over_control);
    QTest::qWait(20);
    QVERIFY2(!QToolTip::isVisible(), qPrintable(window->objectName()));
  }
  // The tray icon object keeps its tooltip.
  QCOMPARE(app.Kiv().findChild<QSystemTrayIcon*>(QStringLiteral("Tray"))->toolTip(),
           QStringLiteral("Plumwit 1.7.2"));
}

void DesktopQualityTest::doubleClickWithAnyButtonRestores_data() {
  QTest::addColumn<QList<int>>("presses");
  QTest::addColumn<bool>("restores");
  QTest::newRow("left double-click")
      << QList<int>{QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick} << true;
  QTest::newRow("middle twice") << QList<int>{QSystemTrayIcon::MiddleClick,
                                              QSystemTrayIcon::MiddleClick}
                                << true;
  QTest::newRow("right twice") << QList<int>{QSystemTrayIcon::Context, QSystemTrayIcon::Context}
                               << true;
  QTest::newRow("middle once") << QList<int>{QSystemTrayIcon::MiddleClick} << false;
  QTest::newRow("right once") << QList<int>{QSystemTrayIcon::Context} << false;
  QTest::newRow("middle then right")
      << QList<int>{QSystemTrayIcon::MiddleClick, QSystemTrayIcon::Context} << false;
  QTest::newRow("left once") << QList<int>{QSystemTrayIcon::Trigger} << false;
}

void DesktopQualityTest::doubleClickWithAnyButtonRestores() {
  QFETCH(QList<int>, presses);
  QFETCH(bool, restores);
  GuiFixture app;
  app.Start();
  app.Kiv().show();
  QVERIFY(QTest::qWaitForWindowExposed(&app.Kiv()));
  app.Kiv().hide();
  auto* tray = app.Kiv().findChild<QSystemTrayIcon*>(QStringLiteral("Tray"));
  for (int press : presses) emit tray->activated(QSystemTrayIcon::ActivationReason(press));
  QCOMPARE(app.Kiv().isVisible(), restores);
}

PLUMWIT_GUI_TEST_MAIN(DesktopQualityTest)
#include "desktop_quality_test.moc"
