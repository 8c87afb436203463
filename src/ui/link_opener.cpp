#include "ui/link_opener.h"

#include <QDesktopServices>
#include <QUrl>

#include "ui/ui_seams.h"

namespace plumwit {

void OpenLink(const QString& address) {
  if (address.isEmpty()) return;
  if (const auto& hook = UiSeams::LinkOpener()) return hook(address);
  QDesktopServices::openUrl(QUrl(address));
}

}  // namespace plumwit
