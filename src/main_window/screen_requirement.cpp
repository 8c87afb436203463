#include "main_window/screen_requirement.h"

#include <QStringList>

#include "ui/user_messages.h"

namespace plumwit {
namespace {

constexpr int kMinimumWidth = 1024;
constexpr int kMinimumHeight = 768;

}  // namespace

QString ScreenRequirementText(QSize screen) {
  QStringList lines;
  if (screen.width() < kMinimumWidth) {
    lines << QStringLiteral(
                 "The horizontal screen resolution must be at least %1 pixels, but is only %2 "
                 "pixels.")
                 .arg(kMinimumWidth)
                 .arg(screen.width());
  }
  if (screen.height() < kMinimumHeight) {
    lines << QStringLiteral(
                 "The vertical screen resolution must be at least %1 pixels, but is only %2 "
                 "pixels.")
                 .arg(kMinimumHeight)
                 .arg(screen.height());
  }
  return lines.join(QStringLiteral("\r\n"));
}

QString ScreenRequirementCaption(const QString& executable_name) {
  return QStringLiteral("System Requirements for %1").arg(executable_name);
}

void CheckScreenRequirement(QSize screen, const QString& executable_name) {
  const QString text = ScreenRequirementText(screen);
  if (!text.isEmpty()) ShowWarning(ScreenRequirementCaption(executable_name), text);
}

}  // namespace plumwit
