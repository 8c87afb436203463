#pragma once

#include <QApplication>

namespace plumwit {

// The application object. Handlers are guarded where they are connected;
// this is the last net for an exception thrown by an event handler, so that
// none ever unwinds through Qt's event loop.
class GuardedApplication : public QApplication {
 public:
  GuardedApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace plumwit
