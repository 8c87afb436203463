#include "main_window/refresh_timer.h"

namespace plumwit {

RefreshTimer::RefreshTimer(QObject* parent) : QObject(parent) {
  countdown_.setTimerType(Qt::CoarseTimer);
  connect(&countdown_, &QTimer::timeout, this, &RefreshTimer::Tick);
}

void RefreshTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Restart();
}

void RefreshTimer::SetInterval(int interval_ms) {
  if (interval_ms == interval_ms_) return;
  interval_ms_ = interval_ms;
  Restart();
}

void RefreshTimer::Restart() {
  countdown_.stop();
  // QTimer fires continuously at 0; here 0 means never.
  if (enabled_ && interval_ms_ > 0) countdown_.start(interval_ms_);
}

}  // namespace plumwit
