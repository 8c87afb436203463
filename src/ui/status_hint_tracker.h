#pragma once

#include <functional>

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace plumwit {

// Keeps the application's current hint: the hint of the control under the
// mouse, or of its nearest enclosing control that has one, disabled controls
// included. Each change goes to the installed handler. The program's windows
// show no tooltips, since hints are shown only in the status bar; tooltips
// elsewhere (the tray icon's) are left alone.
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

  // Tooltips of `window` and of every control in it are swallowed.
  void KeepTooltipsOff(QWidget* window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ScheduleUpdate();
  bool InQuietWindow(QObject* watched) const;

  HintHandler handler_;
  QString current_hint_;
  bool update_pending_ = false;
  bool filtering_ = false;
  QList<QPointer<QWidget>> quiet_windows_;
};

}  // namespace plumwit
