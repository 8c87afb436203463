#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>

#include "core/build_config.h"
#include "main_window/form_set.h"
#include "main_window/main_window.h"
#include "timeline/timeline_view.h"
#include "ui/guarded_application.h"
#include "ui/page_accessibility.h"

namespace {

// The web engine takes a while to start; start it once the window is on
// screen, so neither start-up nor the first sign-in waits for it.
constexpr int kWarmUpDelayMs = 400;

plumwit::WindowSetup RealSetup() {
  plumwit::WindowSetup setup;
  setup.executable_name =
      QFileInfo(QCoreApplication::applicationFilePath()).fileName().toStdString();
  return setup;
}

}  // namespace

int main(int argc, char* argv[]) {
  plumwit::SwitchOnPageAccessibility();
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  plumwit::GuardedApplication app(argc, argv);
  // The name window managers group the windows by (WM_CLASS) and the menu
  // entry they match; the captions keep the application title.
  QCoreApplication::setApplicationName(QStringLiteral("plumwit"));
  QCoreApplication::setApplicationVersion(QString::fromUtf8(plumwit::build::kVersion));
  QGuiApplication::setDesktopFileName(QString::fromUtf8(plumwit::build::kAppId));
  // Closing the main window ends the program at once, even while a dialog
  // or the tray icon is still around.
  QGuiApplication::setQuitOnLastWindowClosed(false);

  plumwit::FormSet forms(RealSetup());
  plumwit::TKIV& main_window = forms.KIV();
  QObject::connect(&main_window, &plumwit::TKIV::Closed, &app, &QCoreApplication::quit,
                   Qt::QueuedConnection);
  main_window.show();
  QTimer::singleShot(kWarmUpDelayMs, &main_window,
                     [&main_window] { main_window.ClientTweets().WarmUp(); });
  return QApplication::exec();
}
