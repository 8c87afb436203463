#pragma once

#include <functional>

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace plumwit {

// Keeps the application's current hint: the hint of the control under the
// mouse, or of its nearest enclosing control that has one, disabled controls
// included. Each change goes to the installed handler. Tooltips are swallowed
// application-wide, since hints are shown only in the status bar.
class StatusHintTracker : public QObject {
  Q_OBJECT

 public:
  using HintHandler = std::function<void(const QString& hint)>;

  explicit StatusHintTracker(QObject* parent = nullptr);
  ~StatusHintTracker() override;

  // Installing again replaces the handler; the tracker filters events once.
  void Install(HintHandler handler);
  bool IsInstalled() const { return static_cast<bool>(handler_); }

  // Works the hint out now (it is otherwise updated once events settle).
  void Update();

  static QString HintAt(QWidget* widget);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ScheduleUpdate();

  HintHandler handler_;
  QString current_hint_;
  bool update_pending_ = false;
  bool filtering_ = false;
};

}  // namespace plumwit
