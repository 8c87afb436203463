#include "ui/status_hint_tracker.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include "ui/hints.h"

namespace plumwit {
namespace {

bool MayMoveTheHint(QEvent::Type type) {
  switch (type) {
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::MouseMove:
    case QEvent::HoverEnter:
    case QEvent::HoverLeave:
    case QEvent::HoverMove:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::DynamicPropertyChange:
      return true;
    default:
      return false;
  }
}

}  // namespace

StatusHintTracker::StatusHintTracker(QObject* parent) : QObject(parent) {}

StatusHintTracker::~StatusHintTracker() {
  if (filtering_ && qApp) qApp->removeEventFilter(this);
}

void StatusHintTracker::Install(HintHandler handler) {
  handler_ = std::move(handler);
  if (!filtering_ && qApp) {
    qApp->installEventFilter(this);
    filtering_ = true;
  }
}

QString StatusHintTracker::HintAt(QWidget* widget) {
  for (QWidget* control = widget; control; control = control->parentWidget()) {
    const QString hint = HintOf(control);
    if (!hint.isEmpty()) return hint;
    if (control->isWindow()) break;
  }
  return {};
}

void StatusHintTracker::Update() {
  update_pending_ = false;
  if (!handler_) return;
  const QString hint = HintAt(QApplication::widgetAt(QCursor::pos()));
  if (hint == current_hint_) return;
  current_hint_ = hint;
  handler_(hint);
}

void StatusHintTracker::ScheduleUpdate() {
  if (update_pending_) return;
  update_pending_ = true;
  QTimer::singleShot(0, this, &StatusHintTracker::Update);
}

void StatusHintTracker::KeepTooltipsOff(QWidget* window) {
  if (window && !quiet_windows_.contains(window)) quiet_windows_.append(window);
}

// A tooltip is asked for a live widget under the mouse, so its window can be
// looked at.
bool StatusHintTracker::InQuietWindow(QObject* watched) const {
  if (!watched->isWidgetType()) return false;
  const QWidget* window = static_cast<QWidget*>(watched)->window();
  for (const QPointer<QWidget>& quiet : quiet_windows_) {
    if (quiet == window) return true;
  }
  return false;
}

// Other events are only looked at, not their object: it may belong to another
// library's private classes, or be half destroyed.
bool StatusHintTracker::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip || event->type() == QEvent::StatusTip) {
    if (InQuietWindow(watched)) return true;
    return QObject::eventFilter(watched, event);
  }
  if (handler_ && MayMoveTheHint(event->type())) ScheduleUpdate();
  return QObject::eventFilter(watched, event);
}

}  // namespace plumwit
