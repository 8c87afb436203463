#pragma once

#include <QString>

namespace plumwit {

// Hands a web address to the desktop's default handler. Nothing is reported,
// whether or not a browser opens; an empty address does nothing.
void OpenLink(const QString& address);

}  // namespace plumwit
