#include "ui/after_first_paint.h"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace plumwit {
namespace {

class FirstPaintWatch : public QObject {
 public:
  FirstPaintWatch(QWidget* window, QObject* receiver, std::function<void()> action)
      : QObject(window), receiver_(receiver), action_(std::move(action)) {
    window->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      // The paint is under way; the action runs once it is through.
      if (receiver_) QTimer::singleShot(0, receiver_, [action = std::move(action_)] { action(); });
      deleteLater();
    }
    return false;
  }

 private:
  QPointer<QObject> receiver_;
  std::function<void()> action_;
};

}  // namespace

void AfterFirstPaint(QWidget* window, QObject* receiver, std::function<void()> action) {
  new FirstPaintWatch(window, receiver, std::move(action));
}

}  // namespace plumwit
