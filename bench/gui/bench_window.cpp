// The references the program's start-up is measured against: an empty Qt
// window of the main window's size, and the same window with shared OpenGL
// contexts (what the web engine requires; the floor of this stack).
#include <cstring>

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
  if (argc > 1 && std::strcmp(argv[1], "--floor") == 0)
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  QWidget window;
  window.setFixedSize(322, 666);
  window.move(811, 121);
  window.show();
  return QApplication::exec();
}
