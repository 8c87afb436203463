#pragma once

#include <QApplication>
#include <QTest>

// The main of a GUI test program: the web engine wants its contexts shared,
// which must be said before the application object exists.
#define PLUMWIT_GUI_TEST_MAIN(TestClass)                        \
  int main(int argc, char* argv[]) {                            \
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); \
    QApplication app(argc, argv);                               \
    QGuiApplication::setQuitOnLastWindowClosed(false);          \
    TestClass test;                                             \
    return QTest::qExec(&test, argc, argv);                     \
  }
