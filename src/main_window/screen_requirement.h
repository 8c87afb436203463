#pragma once

#include <QSize>
#include <QString>

namespace plumwit {

// The start-up screen check: the warning's lines (CR LF between them) for a
// screen smaller than 1024 by 768, or empty text when it is big enough.
QString ScreenRequirementText(QSize screen);
QString ScreenRequirementCaption(const QString& executable_name);

// Warns, and only warns, when the screen is too small.
void CheckScreenRequirement(QSize screen, const QString& executable_name);

}  // namespace plumwit
