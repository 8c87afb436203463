#pragma once

#include <QString>

namespace plumwit {

class TKIV;

// The limit of a status, in the memo's count (see MemoLength).
inline constexpr int kStatusMaxLength = 140;

// Whether nothing would be left once leading and trailing characters with
// codes 0 to 32 are trimmed; such a text is never sent.
bool IsBlankText(const QString& text);

// Sends `text`, exactly as typed, as a new status through the main window's
// client with the credentials of the current sign-in. Returns whether the
// service took it; any failure has been shown as "Error : " and its text.
bool PostStatus(TKIV& kiv, const QString& text);

}  // namespace plumwit
