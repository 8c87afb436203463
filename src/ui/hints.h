#pragma once

#include <QString>

class QObject;

namespace plumwit {

// Hints live on the controls as a property and are shown only in the main
// window's status bar; Qt's own tooltip and status-tip machinery stays unused.
void SetHint(QObject* control, const QString& hint);
QString HintOf(const QObject* control);

// The part of a hint shown in the status bar: the text after the first "|",
// or the whole hint when it has none.
QString LongHint(const QString& hint);

}  // namespace plumwit
