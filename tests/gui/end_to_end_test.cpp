// The client against the bundled service: the demo account signs in, posts
// from the box and from the dialog, updates its profile and signs out. Built
// twice: as the default client (plain HTTP, the classic interface at the
// root), and with PLUMWIT_END_TO_END_OVER_TLS as a client built for https and
// the GNU social dialect, against the service serving TLS with a certificate
// of the tests' own authority, the interface under /api.
#include <memory>
#include <optional>

#include <QDateTime>
#include <QDialog>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "core/service/endpoints.h"
#include "core/service/http_client.h"
#include "core/service/xml_document.h"
#include "dialogs/post_new_tweet_dialog.h"
#include "dialogs/update_profile_dialog.h"
#include "main_window/form_set.h"
#include "main_window/main_window.h"
#include "support/gui_fixture.h"
#include "support/gui_test_main.h"
#include "support/test_authority.h"
#include "timeline/timeline_view.h"
#include "ui/limited_memo.h"
#include "ui/ui_seams.h"

namespace {

constexpr int kServiceStartMs = 20000;

#ifdef PLUMWIT_END_TO_END_OVER_TLS
constexpr bool kOverTls = true;
#else
constexpr bool kOverTls = false;
#endif

plumwit::ServiceLocation ServiceAt(const std::string& host) {
  if (!kOverTls) return plumwit::ServiceLocation(host);
  return plumwit::ServiceLocation("https", host, plumwit::ServiceDialect::kStatusNet);
}

QStringList ServiceArguments(const QString& data_folder) {
  QStringList arguments{QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"),
                        QStringLiteral("--data"), data_folder, QStringLiteral("--demo")};
  if (kOverTls) {
    const auto& authority = plumwit::testing::TestAuthority::Shared();
    arguments << QStringLiteral("--tls-cert")
              << QString::fromStdString(authority.CertificateFile("good"))
              << QStringLiteral("--tls-key") << QString::fromStdString(authority.KeyFile("good"));
  }
  return arguments;
}

// The text of the newest status of the demo account's home timeline, read
// straight from the service.
QString NewestStatus(const std::string& host) {
  plumwit::HttpClient client;
  client.Request.Username = "demo";
  client.Request.Password = "demo";
  client.Request.BasicAuthentication = true;
  plumwit::XmlDocument document;
  document.Load(client.Get(plumwit::HomeTimelineUrl("demo", ServiceAt(host))));
  const plumwit::XmlNode first = document.DocumentElement().Child(0);
  return QString::fromStdString(plumwit::ChildText(first, "text"));
}

}  // namespace

class EndToEndTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (kOverTls) trust_.emplace();
    service_.setProgram(QStringLiteral(PLUMWIT_SERVER_PROGRAM));
    service_.setArguments(ServiceArguments(data_.path()));
    service_.setProcessChannelMode(QProcess::MergedChannels);
    service_.start();
    QVERIFY(service_.waitForStarted());
    const QRegularExpression serving(kOverTls ? QStringLiteral("serving https://([0-9.]+:[0-9]+)/")
                                              : QStringLiteral("serving http://([0-9.]+:[0-9]+)/"));
    QString output;
    QDeadlineTimer deadline(kServiceStartMs);
    while (!deadline.hasExpired() && !serving.match(output).hasMatch()) {
      service_.waitForReadyRead(200);
      output += QString::fromLocal8Bit(service_.readAll());
    }
    const QRegularExpressionMatch match = serving.match(output);
    QVERIFY2(match.hasMatch(), qPrintable(output));
    log_ = output;
    host_ = match.captured(1).toStdString() + (kOverTls ? "/api" : "");
  }

  void cleanupTestCase() {
    service_.terminate();
    service_.waitForFinished(5000);
  }

  void init() {
    app_ = std::make_unique<plumwit::test::GuiFixture>(host_);
    const plumwit::ServiceLocation service = ServiceAt(host_);
    app_->service_scheme = service.scheme;
    app_->service_dialect = service.dialect;
    // A dialog "shown modally" stays shown, without a modal loop.
    plumwit::UiSeams::ModalDialog() = [this](QDialog& dialog) {
      app_->modal_dialogs << dialog.objectName();
      dialog.show();
    };
    app_->Start();
    app_->SignIn(QStringLiteral("demo"), QStringLiteral("demo"));
    QVERIFY(app_->Kiv().SignedIn());
    QVERIFY(app_->messages.isEmpty());
  }

  void cleanup() { app_.reset(); }

  void postsFromTheBoxAndFromTheDialog() {
    const QString stamp = QString::number(QDateTime::currentMSecsSinceEpoch());
    const QString from_box = QStringLiteral("From the box & co #") + stamp;
    auto* memo = app_->Find<plumwit::LimitedMemo>("Tweet");
    memo->SetText(from_box);
    app_->Find<QPushButton>("tweetbtn")->click();
    QVERIFY(app_->messages.isEmpty());
    QCOMPARE(memo->Text(), QString());
    QCOMPARE(NewestStatus(host_), from_box);

    const QString from_dialog = QStringLiteral("From the dialog, line one\r\nline two ") + stamp;
    plumwit::TPostNewTweet& dialog = app_->Forms().PostNewTweet();
    app_->Kiv().NewTweetClick();
    dialog.findChild<plumwit::LimitedMemo*>(QStringLiteral("MemoPost"))->SetText(from_dialog);
    dialog.findChild<QPushButton*>(QStringLiteral("tweetbutton"))->click();
    QVERIFY(app_->messages.isEmpty());
    QVERIFY(dialog.isHidden());
    QCOMPARE(NewestStatus(host_), from_dialog);
  }

  // The new status is at the top of the page the refresh after the post
  // showed.
  void showsTheNewStatusInTheTimeline() {
    const QString text =
        QStringLiteral("On the page ") + QString::number(QDateTime::currentMSecsSinceEpoch());
    auto* view = app_->Kiv().findChild<plumwit::TimelineView*>(QStringLiteral("ClientTweets"));
    QVERIFY(view);
    QSignalSpy loaded(view, &plumwit::TimelineView::PageLoaded);
    app_->Find<plumwit::LimitedMemo>("Tweet")->SetText(text);
    app_->Find<QPushButton>("tweetbtn")->click();
    QVERIFY(loaded.wait(20000) || !loaded.isEmpty());
    QString page;
    view->Browser()->page()->toPlainText([&page](const QString& plain) { page = plain; });
    QTRY_VERIFY_WITH_TIMEOUT(!page.isEmpty(), 10000);
    QVERIFY2(page.contains(text), qPrintable(page.left(400)));
  }

  void updatesTheProfileAndSeesItOnTheNextOpening() {
    plumwit::TUpdateProfile& dialog = app_->Forms().UpdateProfile();
    app_->Kiv().ProfilebtnClick();
    QVERIFY(dialog.isVisible());
    auto* user_name = dialog.findChild<QLineEdit*>(QStringLiteral("UserName"));
    QCOMPARE(user_name->text(), QStringLiteral("demo"));

    const QString location =
        QStringLiteral("Room ") + QString::number(QDateTime::currentMSecsSinceEpoch() % 100000);
    dialog.findChild<QLineEdit*>(QStringLiteral("Location"))->setText(location);
    dialog.findChild<plumwit::LimitedMemo*>(QStringLiteral("Description"))
        ->SetText(QStringLiteral("Tries things & more"));
    dialog.findChild<QPushButton*>(QStringLiteral("sButton2"))->click();
    QCOMPARE(app_->messages.size(), 1);
    QVERIFY(app_->messages.first().endsWith(QStringLiteral(" profile was successfully updated!")));
    QVERIFY(dialog.isHidden());

    app_->Kiv().ProfilebtnClick();
    QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("Location"))->text(), location);
    QCOMPARE(dialog.findChild<plumwit::LimitedMemo*>(QStringLiteral("Description"))->Text(),
             QStringLiteral("Tries things & more"));
    QCOMPARE(user_name->text(), QStringLiteral("demo"));
  }

  // Signing out sends nothing; signing in again works on the same service.
  void signsOutAndInAgain() {
    app_->Kiv().LoginLogoutClick();
    QVERIFY(!app_->Kiv().SignedIn());
    QVERIFY(!app_->Find<QWidget>("HomeLogin")->isHidden());
    app_->SignIn(QStringLiteral("demo"), QStringLiteral("demo"));
    QVERIFY(app_->Kiv().SignedIn());
    QVERIFY(app_->messages.isEmpty());
  }

  // The client's requests went the way the build says: over TLS with the
  // GNU social requests, or plain with the classic ones.
  void theServiceLogShowsTheRequestsOfTheBuild() {
    QTRY_VERIFY_WITH_TIMEOUT(ReadServiceLog().contains(QStringLiteral("home_timeline")), 5000);
    if (kOverTls) {
      QVERIFY2(log_.contains(QStringLiteral("/api/users/show.xml")), qPrintable(log_));
      QVERIFY2(log_.contains(QStringLiteral("/api/statuses/home_timeline.xml")), qPrintable(log_));
    } else {
      QVERIFY2(log_.contains(QStringLiteral("/users/show/demo")), qPrintable(log_));
    }
  }

 private:
  // The service's log so far: one line per request.
  const QString& ReadServiceLog() {
    log_ += QString::fromLocal8Bit(service_.readAll());
    return log_;
  }

  // The client trusts the tests' authority as a user's SSL_CERT_FILE would
  // make it.
  std::optional<plumwit::testing::TrustTestAuthority> trust_;
  QString log_;
  QTemporaryDir data_;
  QProcess service_;
  std::string host_;
  std::unique_ptr<plumwit::test::GuiFixture> app_;
};

PLUMWIT_GUI_TEST_MAIN(EndToEndTest)
#include "end_to_end_test.moc"
