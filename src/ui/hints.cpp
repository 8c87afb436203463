#include "ui/hints.h"

#include <QAbstractButton>
#include <QKeySequence>
#include <QObject>
#include <QVariant>

namespace plumwit {
namespace {

constexpr const char* kHintProperty = "plumwitHint";

// What a screen reader says after the name: the hint, then the shortcut.
void Describe(QWidget& control) {
  QString description = LongHint(HintOf(&control));
  const auto* button = qobject_cast<const QAbstractButton*>(&control);
  if (button && !button->shortcut().isEmpty()) {
    const QString keys = button->shortcut().toString(QKeySequence::NativeText);
    description = description.isEmpty() ? keys : description + QStringLiteral(" (") + keys + ')';
  }
  control.setAccessibleDescription(description);
  if (button && button->text().isEmpty() && !HintOf(&control).isEmpty()) {
    control.setAccessibleName(LongHint(HintOf(&control)));
  }
}

}  // namespace

void SetHint(QObject* control, const QString& hint) {
  control->setProperty(kHintProperty, hint);
  if (control->isWidgetType()) Describe(*static_cast<QWidget*>(control));
}

QString HintOf(const QObject* control) { return control->property(kHintProperty).toString(); }

QString LongHint(const QString& hint) {
  const qsizetype bar = hint.indexOf(QLatin1Char('|'));
  return bar < 0 ? hint : hint.mid(bar + 1);
}

void SetShortcutKey(QAbstractButton* button, const QKeySequence& keys) {
  button->setShortcut(keys);
  Describe(*button);
}

}  // namespace plumwit
