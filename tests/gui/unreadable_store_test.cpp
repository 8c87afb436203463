// A remembered sign-in file that cannot be read: the start reports it and
// keeps it, the next sign-in with Remember sets it aside whole and remembers,
// and the start after that fills the sign-in boxes.
#include <sys/stat.h>

#include <memory>
#include <string>

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include "main_window/form_set.h"
#include "main_window/main_window.h"
#include "support/dialog_test_bed.h"
#include "support/gui_test_main.h"

using plumwit::gui_test::DialogTestBed;

namespace {

constexpr char kBrokenStore[] = "<Configuration><RememberUsername>ann</Configuration>";

mode_t PermissionsOf(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return 0;
  return status.st_mode & 07777;
}

}  // namespace

class UnreadableStoreTest : public QObject {
  Q_OBJECT

 private slots:
  void signInSetsTheFileAsideAndTheNextStartRemembers() {
    DialogTestBed bed;
    plumwit::test::GuiFixture& app = bed.Fixture();
    app.WriteProgramFile("settings.kiv", "[Login]\r\nRemember=1\r\n");
    app.WriteDataFile("remember.xml", kBrokenStore);
    const std::string aside = app.DataFolder() + "/remember.xml.unreadable";

    bed.Start();
    bed.Forms().MakeDialogs();
    // The main window's and the sign-in dialog's start each report it.
    QCOMPARE(bed.errors.size(), 2);
    QCOMPARE(app.ReadDataFile("remember.xml"), std::string(kBrokenStore));
    QVERIFY(!app.DataFileExists("remember.xml.unreadable"));
    QVERIFY(app.Find<QCheckBox>("Remember")->isChecked());

    bed.SignIn("ann", "secret");
    QVERIFY(bed.KIV().SignedIn());
    QCOMPARE(bed.errors.size(), 2);
    QVERIFY(bed.messages.isEmpty());
    QCOMPARE(app.ReadDataFile("remember.xml.unreadable"), std::string(kBrokenStore));
    QCOMPARE(PermissionsOf(aside), mode_t{0600});

    app.Stop();
    bed.errors.clear();
    bed.Start();
    bed.Forms().MakeDialogs();
    QVERIFY(bed.errors.isEmpty());
    QCOMPARE(app.Find<QLineEdit>("HomeUsername")->text(), QStringLiteral("ann"));
    QCOMPARE(app.Find<QLineEdit>("HomePassword")->text(), QStringLiteral("secret"));
    QCOMPARE(app.ReadDataFile("remember.xml.unreadable"), std::string(kBrokenStore));
  }
};

PLUMWIT_GUI_TEST_MAIN(UnreadableStoreTest)
#include "unreadable_store_test.moc"
