#include "ui/page_accessibility.h"

#include <QByteArray>
#include <QtGlobal>

namespace plumwit {

void SwitchOnPageAccessibility() {
  qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", QByteArray("1"));
}

}  // namespace plumwit
