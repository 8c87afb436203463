#pragma once

class QDialog;

namespace plumwit {

// Shows a dialog modally, centred on the desktop; returns when it closes.
void ShowModal(QDialog& dialog);

}  // namespace plumwit
