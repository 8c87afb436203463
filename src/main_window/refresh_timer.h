#pragma once

#include <QObject>
#include <QTimer>

namespace plumwit {

// The refresh timer: on/off plus a period, like a window-message timer.
// A period of 0 means on but never firing; setting the state or period it
// already has leaves the countdown alone, a change restarts it.
class RefreshTimer : public QObject {
  Q_OBJECT

 public:
  explicit RefreshTimer(QObject* parent = nullptr);

  bool Enabled() const { return enabled_; }
  int Interval() const { return interval_ms_; }
  void SetEnabled(bool enabled);
  void SetInterval(int interval_ms);

  // Whether a tick is on its way (on, with a period above 0).
  bool IsCounting() const { return countdown_.isActive(); }

 signals:
  void Tick();

 private:
  void Restart();

  QTimer countdown_;
  bool enabled_ = false;
  int interval_ms_ = 1000;
};

}  // namespace plumwit
