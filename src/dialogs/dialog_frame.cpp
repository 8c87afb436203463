#include "dialogs/dialog_frame.h"

#include <QDialog>

#include "dialogs/dialog_skin.h"
#include "ui/artwork.h"
#include "ui/skin.h"

namespace plumwit {

void SetUpDialogFrame(QDialog& dialog, const char* name, const QString& caption, QSize client,
                      const QFont& font) {
  dialog.setObjectName(QString::fromLatin1(name));
  dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  dialog.setWindowTitle(caption);
  dialog.setWindowIcon(Artwork::WindowIcon());
  dialog.setFixedSize(client);
  dialog.setModal(true);
  dialog.setFont(font);
  ApplySkin(dialog, DialogSkin());
}

}  // namespace plumwit
