#include "dialogs/dialog_skin.h"

namespace plumwit {

QString DialogSkin() {
  return QStringLiteral(R"(
QDialog {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fbfdff, stop:1 #e6eef6);
}
QLineEdit, QPlainTextEdit, QComboBox {
  border: 1px solid #a9bbcf;
  border-radius: 3px;
  background: #ffffff;
  color: #1b2233;
  selection-background-color: #3b8fd9;
  selection-color: #ffffff;
}
QComboBox QAbstractItemView {
  background: #ffffff;
  color: #1b2233;
  selection-background-color: #3b8fd9;
  selection-color: #ffffff;
}
QLineEdit, QComboBox {
  padding: 1px 4px;
}
QLineEdit:focus, QPlainTextEdit:focus, QComboBox:focus {
  border: 1px solid #3b8fd9;
}
QComboBox:disabled {
  color: #9aa6b4;
  background: #eef2f6;
}
QPushButton {
  border: 1px solid #8fa7c0;
  border-radius: 4px;
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #dbe7f3);
  color: #2b354d;
}
QPushButton:hover {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #c9dcef);
}
QPushButton:pressed {
  background: #c3d6ea;
}
QPushButton:focus {
  border: 1px solid #3b8fd9;
}
QPushButton#tweetbutton, QPushButton#tweetbutton:hover, QPushButton#tweetbutton:pressed,
QPushButton#PayPalDonateButton, QPushButton#PayPalDonateButton:hover,
QPushButton#PayPalDonateButton:pressed {
  border: none;
  background: transparent;
}
QPushButton#PayPalDonateButton:focus {
  border: 1px dotted #3b8fd9;
}
QCheckBox {
  color: #2b354d;
}
QCheckBox:disabled, QPushButton:disabled {
  color: #9aa6b4;
}
QFrame[bevel="true"] {
  border: none;
  border-bottom: 1px solid #b6c9dc;
  background: transparent;
}
)");
}

}  // namespace plumwit
