#pragma once

#include <QFont>
#include <QSize>
#include <QString>

class QDialog;

namespace plumwit {

// The dialogs' common frame: a fixed client size, a caption, a close box and
// nothing else in the title bar; the dialog's font and skin.
void SetUpDialogFrame(QDialog& dialog, const char* name, const QString& caption, QSize client,
                      const QFont& font = QFont());

}  // namespace plumwit
