#include "ui/skin.h"

namespace plumwit {

QString MainWindowSkin() {
  return QStringLiteral(R"(
#KIV {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fbfdff, stop:0.45 #eef4fa, stop:1 #e3ecf5);
}
#HomeLogin {
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
  selection-background-color: #3b8fd9;
}
#HomeLogin QLineEdit:focus {
  border: 1px solid #3b8fd9;
}
#Login {
  border: 1px solid #8fa7c0;
  border-radius: 4px;
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #dbe7f3);
  color: #2b354d;
}
#Login:hover {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #c9dcef);
}
#Login:pressed {
  background: #c3d6ea;
}
#Login:disabled {
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
