#include "ui/hints.h"

#include <QObject>
#include <QVariant>

namespace plumwit {
namespace {

constexpr const char* kHintProperty = "plumwitHint";

}  // namespace

void SetHint(QObject* control, const QString& hint) { control->setProperty(kHintProperty, hint); }

QString HintOf(const QObject* control) { return control->property(kHintProperty).toString(); }

QString LongHint(const QString& hint) {
  const qsizetype bar = hint.indexOf(QLatin1Char('|'));
  return bar < 0 ? hint : hint.mid(bar + 1);
}

}  // namespace plumwit
