#include <QApplication>
#include <QMainWindow>

#include "core/build_config.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(plumwit::build::kAppTitle);
  QMainWindow window;
  window.setWindowTitle(plumwit::build::kAppTitle);
  window.resize(330, 700);
  window.show();
  return QApplication::exec();
}
