#include "ui/skin.h"

#include <QWidget>

#include "ui/form_label.h"
#include "ui/link_label.h"

namespace plumwit {
namespace {

struct RoleColour {
  QPalette::ColorRole role;
  QColor colour;
};

// The label colour of the windows, RGB (43, 53, 77), is the skin's text.
const RoleColour kEnabledColours[] = {
    {QPalette::Window, QColor(0xee, 0xf4, 0xfa)},
    {QPalette::WindowText, QColor(43, 53, 77)},
    {QPalette::Base, QColor(0xff, 0xff, 0xff)},
    {QPalette::AlternateBase, QColor(0xf3, 0xf7, 0xfb)},
    {QPalette::Text, QColor(0x1b, 0x22, 0x33)},
    {QPalette::PlaceholderText, QColor(0x8a, 0x96, 0xa6)},
    {QPalette::Button, QColor(0xe4, 0xed, 0xf6)},
    {QPalette::ButtonText, QColor(43, 53, 77)},
    {QPalette::BrightText, QColor(0xff, 0xff, 0xff)},
    {QPalette::Light, QColor(0xff, 0xff, 0xff)},
    {QPalette::Midlight, QColor(0xf1, 0xf5, 0xf9)},
    {QPalette::Mid, QColor(0xb6, 0xc9, 0xdc)},
    {QPalette::Dark, QColor(0x8f, 0xa7, 0xc0)},
    {QPalette::Shadow, QColor(0x5a, 0x68, 0x7a)},
    {QPalette::Highlight, QColor(0x3b, 0x8f, 0xd9)},
    {QPalette::HighlightedText, QColor(0xff, 0xff, 0xff)},
    {QPalette::Link, QColor(0x00, 0x00, 0xff)},
    {QPalette::LinkVisited, QColor(0x55, 0x1a, 0x8b)},
    {QPalette::ToolTipBase, QColor(0xff, 0xff, 0xe1)},
    {QPalette::ToolTipText, QColor(0x00, 0x00, 0x00)},
};

// Greyed text on the same light backgrounds.
const RoleColour kDisabledColours[] = {
    {QPalette::WindowText, QColor(0x9a, 0xa6, 0xb4)},
    {QPalette::Text, QColor(0x9a, 0xa6, 0xb4)},
    {QPalette::ButtonText, QColor(0x9a, 0xa6, 0xb4)},
    {QPalette::Base, QColor(0xf4, 0xf7, 0xfa)},
    {QPalette::Button, QColor(0xee, 0xf2, 0xf6)},
    {QPalette::Highlight, QColor(0xb6, 0xc9, 0xdc)},
};

}  // namespace

QString MessageBoxSkin() {
  return QStringLiteral(R"(
QMessageBox {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fbfdff, stop:1 #e6eef6);
}
QMessageBox QLabel {
  color: #2b354d;
}
QMessageBox QPushButton {
  border: 1px solid #8fa7c0;
  border-radius: 4px;
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #dbe7f3);
  color: #2b354d;
  min-width: 75px;
  min-height: 23px;
}
QMessageBox QPushButton:focus {
  border: 1px solid #3b8fd9;
}
)");
}

QPalette SkinPalette() {
  QPalette palette;
  for (const RoleColour& entry : kEnabledColours) {
    palette.setColor(QPalette::All, entry.role, entry.colour);
  }
  for (const RoleColour& entry : kDisabledColours) {
    palette.setColor(QPalette::Disabled, entry.role, entry.colour);
  }
  return palette;
}

void SpreadSkinPalette(QWidget& window) {
  for (QWidget* control : window.findChildren<QWidget*>()) {
    if (qobject_cast<FormLabel*>(control) || qobject_cast<LinkLabel*>(control)) continue;
    // Menus are windows of their own and follow the desktop.
    if (control->isWindow()) continue;
    control->setPalette(SkinPalette());
  }
}

void ApplySkin(QWidget& window, const QString& sheet) {
  window.setPalette(SkinPalette());
  window.setStyleSheet(sheet);
}

QString MainWindowSkin() {
  return QStringLiteral(R"(
#KIV {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fbfdff, stop:0.45 #eef4fa, stop:1 #e3ecf5);
}
#HomeLogin {
  color: #2b354d;
  background: rgba(255, 255, 255, 0.75);
  border: 1px solid #c4d2e1;
  border-radius: 6px;
  margin-top: 0px;
}
#HomeLogin QLineEdit {
  border: 1px solid #a9bbcf;
  border-radius: 3px;
  padding: 1px 4px;
  background: #ffffff;
  color: #1b2233;
  selection-background-color: #3b8fd9;
  selection-color: #ffffff;
}
#HomeLogin QCheckBox {
  color: #2b354d;
}
#HomeLogin QLineEdit:focus {
  border: 1px solid #3b8fd9;
}
#Login, #tweetbtn {
  border: 1px solid #8fa7c0;
  border-radius: 4px;
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #dbe7f3);
  color: #2b354d;
}
#Login:hover, #tweetbtn:hover {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #c9dcef);
}
#Login:pressed, #tweetbtn:pressed {
  background: #c3d6ea;
}
#Login:focus, #tweetbtn:focus {
  border: 1px solid #3b8fd9;
}
#Login:disabled, #tweetbtn:disabled {
  color: #9aa6b4;
  border-color: #c4d0dc;
  background: #eef2f6;
}
#Panel {
  background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #c8d9ea, stop:1 #e8f0f8);
  border-top: 1px solid #b6c9dc;
  border-bottom: 1px solid #b6c9dc;
}
#TwPanel {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #e8f0f8, stop:1 #d9e5f1);
  border-top: 1px solid #b6c9dc;
}
#Tweet {
  border: 1px solid #a9bbcf;
  border-radius: 3px;
  background: #ffffff;
  color: #1b2233;
  selection-background-color: #3b8fd9;
  selection-color: #ffffff;
}
#Tweet:focus {
  border: 1px solid #3b8fd9;
}
#CoolBar {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f7fafd, stop:1 #d8e3ee);
  border-top: 1px solid #b6c9dc;
}
#ToolBar QToolButton {
  border: 1px solid transparent;
  border-radius: 4px;
  background: transparent;
}
#ToolBar QToolButton:hover {
  border: 1px solid #9db7d1;
  background: rgba(255, 255, 255, 0.7);
}
#ToolBar QToolButton:pressed {
  background: #c9dbec;
}
#ToolBar QToolButton:focus {
  border: 1px dotted #3b8fd9;
}
#StatusBar {
  background: #e3ebf3;
  border-top: 1px solid #b6c9dc;
  color: #2b354d;
}
#StatusBar::item {
  border: none;
}
)");
}

}  // namespace plumwit
