#include "dialogs/dialog_frame.h"

#include <QDialog>

#include "ui/artwork.h"

namespace plumwit {

void SetUpDialogFrame(QDialog& dialog, const char* name, const QString& caption, QSize client) {
  dialog.setObjectName(QString::fromLatin1(name));
  dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  dialog.setWindowTitle(caption);
  dialog.setWindowIcon(Artwork::WindowIcon());
  dialog.setFixedSize(client);
  dialog.setModal(true);
}

}  // namespace plumwit
