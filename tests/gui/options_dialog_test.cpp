// The options dialog: loading, saving, the login start entry, and the main
// window taking the new options at once.
#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "dialogs/options_dialog.h"
#include "main_window/form_set.h"
#include "main_window/main_window.h"
#include "main_window/refresh_timer.h"
#include "support/dialog_test_bed.h"
#include "support/gui_test_main.h"

using plumwit::TOptions;
using plumwit::gui_test::DialogTestBed;
using plumwit::gui_test::ReadFile;
using plumwit::gui_test::WriteFile;

class OptionsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { bed_.reset(); }

  void loadsTheOptionsAtStartUp_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("period");
    QTest::addColumn<bool>("never_refresh");
    QTest::addColumn<bool>("start_at_login");
    QTest::newRow("no settings file") << QByteArray() << "5 minutes" << false << false;
    QTest::newRow("every option set")
        << QByteArray(
               "[Options]\r\nRefreshTimeline=45 minutes\r\nNeverRefresh=1\r\nWindowsStart=1\r\n")
        << "45 minutes" << true << true;
    QTest::newRow("a period in other capitals")
        << QByteArray("[Options]\r\nRefreshTimeline=15 Minutes\r\nWindowsStart=0\r\n")
        << "5 minutes" << false << false;
    QTest::newRow("an hour") << QByteArray("[Options]\r\nRefreshTimeline=1 hour\r\n") << "1 hour"
                             << false << false;
  }

  void loadsTheOptionsAtStartUp() {
    QFETCH(QByteArray, settings);
    QFETCH(QString, period);
    QFETCH(bool, never_refresh);
    QFETCH(bool, start_at_login);
    bed_ = std::make_unique<DialogTestBed>();
    if (!settings.isNull()) WriteFile(bed_->SettingsFile(), settings);
    StartAndOpen();
    QCOMPARE(Period()->currentText(), period);
    QCOMPARE(Period()->count(), 6);
    QCOMPARE(NeverRefresh()->isChecked(), never_refresh);
    QCOMPARE(StartAtLogin()->isChecked(), start_at_login);
    QCOMPARE(Period()->isEnabled(), !never_refresh);
  }

  void neverRefreshSwitchesThePeriodBox() {
    bed_ = std::make_unique<DialogTestBed>();
    StartAndOpen();
    Period()->setCurrentIndex(2);
    QTest::mouseClick(NeverRefresh(), Qt::LeftButton);
    QVERIFY(!Period()->isEnabled());
    QTest::mouseClick(NeverRefresh(), Qt::LeftButton);
    QVERIFY(Period()->isEnabled());
    QCOMPARE(Period()->currentText(), QStringLiteral("25 minutes"));
  }

  // Signed out, the settings apply at once: the timer runs with the new period.
  void saveWritesTheFileAndTheMainWindowAppliesIt() {
    bed_ = std::make_unique<DialogTestBed>();
    StartAndOpen();
    Period()->setCurrentIndex(Period()->findText(QStringLiteral("45 minutes")));
    Click("sButton2");

    QCOMPARE(
        ReadFile(bed_->SettingsFile()),
        QByteArray(
            "[Options]\r\nRefreshTimeline=45 minutes\r\nNeverRefresh=0\r\nWindowsStart=0\r\n"));
    QCOMPARE(bed_->messages, QStringList{QStringLiteral("Registry Key not found.")});
    QCOMPARE(bed_->KIV().Account().RefreshMinutes, 45);
    QVERIFY(bed_->KIV().Timer().Enabled());
    QCOMPARE(bed_->KIV().Timer().Interval(), 45 * 60000);
    QVERIFY(dialog_->isHidden());
  }

  // A disabled period box is saved like an enabled one; signed in, manual
  // refresh switches the timer off.
  void neverRefreshStopsTheSignedInTimer() {
    bed_ = std::make_unique<DialogTestBed>();
    bed_->Start();
    bed_->SignIn();
    Open();
    Period()->setCurrentIndex(Period()->findText(QStringLiteral("1 hour")));
    QTest::mouseClick(NeverRefresh(), Qt::LeftButton);
    Click("sButton2");
    QCOMPARE(
        ReadFile(bed_->SettingsFile()),
        QByteArray("[Login]\r\nRemember=0\r\n"
                   "[Options]\r\nRefreshTimeline=1 hour\r\nNeverRefresh=1\r\nWindowsStart=0\r\n"));
    QVERIFY(bed_->KIV().Account().ManualRefresh);
    QVERIFY(!bed_->KIV().Timer().Enabled());
  }

  void startAtLoginAddsAndRemovesTheEntry() {
    bed_ = std::make_unique<DialogTestBed>();
    StartAndOpen();
    QTest::mouseClick(StartAtLogin(), Qt::LeftButton);
    Click("sButton2");
    QVERIFY(bed_->messages.isEmpty());
    QVERIFY(bed_->errors.isEmpty());
    const QByteArray entry = ReadFile(bed_->AutostartEntry());
    QVERIFY2(
        entry.contains("\nExec=" + QByteArray::fromStdString(bed_->ProgramFolder()) + "plumwit\n"),
        entry.constData());
    QVERIFY(ReadFile(bed_->SettingsFile()).contains("WindowsStart=1\r\n"));

    for (int save = 0; save < 2; ++save) {
      Open();
      if (save == 0) QTest::mouseClick(StartAtLogin(), Qt::LeftButton);
      Click("sButton2");
    }
    QCOMPARE(bed_->messages,
             (QStringList{QStringLiteral("Plumwit will not start with Windows anymore."),
                          QStringLiteral("Plumwit Registry Key not found.")}));
    QVERIFY(!QFile::exists(QString::fromStdString(bed_->AutostartEntry())));
  }

  // The folder cannot be made: the error ends the save after the settings
  // were written, before the main window applies them.
  void aRefusedAutostartFolderStopsTheSave() {
    bed_ = std::make_unique<DialogTestBed>();
    const std::string not_a_folder = bed_->SystemConfigFolder() + "/file";
    WriteFile(not_a_folder, "x");
    qputenv("XDG_CONFIG_DIRS", QByteArray::fromStdString(not_a_folder));
    StartAndOpen();
    Period()->setCurrentIndex(Period()->findText(QStringLiteral("15 minutes")));
    QTest::mouseClick(StartAtLogin(), Qt::LeftButton);
    Click("sButton2");

    QCOMPARE(bed_->errors, QStringList{QStringLiteral("Failed to create key %1/autostart.")
                                           .arg(QString::fromStdString(not_a_folder))});
    QCOMPARE(
        ReadFile(bed_->SettingsFile()),
        QByteArray(
            "[Options]\r\nRefreshTimeline=15 minutes\r\nNeverRefresh=0\r\nWindowsStart=1\r\n"));
    QCOMPARE(bed_->KIV().Account().RefreshMinutes, 0);
    QVERIFY(dialog_->isVisible());
  }

  void aRefusedSettingsWriteStopsTheSave() {
    bed_ = std::make_unique<DialogTestBed>();
    QVERIFY(QDir().mkpath(QString::fromStdString(bed_->SettingsFile())));
    StartAndOpen();
    Click("sButton2");
    QCOMPARE(bed_->errors, QStringList{QStringLiteral("Unable to write to %1.")
                                           .arg(QString::fromStdString(bed_->SettingsFile()))});
    QVERIFY(bed_->messages.isEmpty());
    QVERIFY(dialog_->isVisible());
  }

  void closeWritesNothingAndKeepsTheChanges() {
    bed_ = std::make_unique<DialogTestBed>();
    StartAndOpen();
    Period()->setCurrentIndex(Period()->findText(QStringLiteral("35 minutes")));
    Click("sButton1");
    QVERIFY(dialog_->isHidden());
    QVERIFY(!QFile::exists(QString::fromStdString(bed_->SettingsFile())));
    Open();
    QCOMPARE(Period()->currentText(), QStringLiteral("35 minutes"));
  }

  // Each opening starts on the period, whatever had the focus at the close;
  // on the next control when "Never Refresh" has disabled the period.
  void everyOpeningStartsOnTheFirstControl() {
    bed_ = std::make_unique<DialogTestBed>();
    StartAndOpen();
    QCOMPARE(Focused(), static_cast<QWidget*>(Period()));
    QTest::keyClick(Focused(), Qt::Key_Down);
    QCOMPARE(Period()->currentText(), QStringLiteral("15 minutes"));
    QTest::keyClick(Focused(), Qt::Key_Tab);
    QTest::keyClick(Focused(), Qt::Key_Tab);
    QCOMPARE(Focused()->objectName(), QStringLiteral("sButton1"));
    QTest::keyClick(Focused(), Qt::Key_Space);
    QVERIFY(dialog_->isHidden());

    Open();
    QCOMPARE(Focused(), static_cast<QWidget*>(Period()));
    for (int tab = 0; tab < 4; ++tab) QTest::keyClick(Focused(), Qt::Key_Tab);
    QCOMPARE(Focused(), static_cast<QWidget*>(NeverRefresh()));
    QTest::keyClick(Focused(), Qt::Key_Space);
    QVERIFY(!Period()->isEnabled());
    QTest::keyClick(Focused(), Qt::Key_Escape);
    QVERIFY(dialog_->isHidden());

    Open();
    QCOMPARE(Focused(), static_cast<QWidget*>(StartAtLogin()));
  }

 private:
  // Where the user's keys go while the dialog is in front.
  QWidget* Focused() const { return dialog_->focusWidget(); }

  void StartAndOpen() {
    bed_->Start();
    Open();
  }
  void Open() {
    dialog_ = &bed_->Forms().Options();
    bed_->KIV().findChild<QToolButton*>(QStringLiteral("ToolButton2"))->click();
    QVERIFY(dialog_->isVisible());
  }
  QComboBox* Period() const {
    return dialog_->findChild<QComboBox*>(QStringLiteral("RefreshTime"));
  }
  QCheckBox* NeverRefresh() const {
    return dialog_->findChild<QCheckBox*>(QStringLiteral("NeverRefresh"));
  }
  QCheckBox* StartAtLogin() const {
    return dialog_->findChild<QCheckBox*>(QStringLiteral("WindowsStart"));
  }
  void Click(const char* name) {
    QTest::mouseClick(dialog_->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
  }

  std::unique_ptr<DialogTestBed> bed_;
  TOptions* dialog_ = nullptr;
};

PLUMWIT_GUI_TEST_MAIN(OptionsDialogTest)
#include "options_dialog_test.moc"
