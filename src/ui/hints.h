#pragma once

#include <QString>

class QAbstractButton;
class QKeySequence;
class QObject;

namespace plumwit {

// Hints live on the controls as a property and are shown only in the main
// window's status bar; Qt's own tooltip and status-tip machinery stays unused.
// A hint is also what assistive technology reads as the control's
// description, and, for a button showing only a picture, as its name.
void SetHint(QObject* control, const QString& hint);
QString HintOf(const QObject* control);

// The part of a hint shown in the status bar: the text after the first "|",
// or the whole hint when it has none.
QString LongHint(const QString& hint);

// Gives `button` a keyboard shortcut; its description then names the keys.
void SetShortcutKey(QAbstractButton* button, const QKeySequence& keys);

}  // namespace plumwit
