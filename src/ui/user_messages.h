#pragma once

#include <QString>

namespace plumwit {

// Lines of every message are separated by CR LF, as the texts are defined;
// the boxes show them as plain text (service data is never markup here).
void ShowMessage(const QString& text);
void ShowWarning(const QString& caption, const QString& text);

// The text the default error display shows: a full stop is appended when the
// last character sorts after ".".
QString DefaultErrorText(const QString& message);
// Stop icon, the application title as caption, OK.
void ShowDefaultError(const QString& message);

}  // namespace plumwit
