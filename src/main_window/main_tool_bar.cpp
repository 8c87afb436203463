#include "main_window/main_tool_bar.h"

#include <QKeySequence>

#include "ui/hints.h"
#include "ui/picture_tool_button.h"

namespace plumwit {
namespace {

constexpr int kButtonWidth = 39;
constexpr int kButtonHeight = 38;
constexpr int kSeparatorWidth = 8;

}  // namespace

MainToolBar::MainToolBar(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("CoolBar"));
  setGeometry(0, 606, 323, 42);
  bar_ = new QWidget(this);
  bar_->setObjectName(QStringLiteral("ToolBar"));
  bar_->setGeometry(33, 1, 260, 40);

  LoginLogout = AddButton("LoginLogout", kSignedOutPicture, "Twitter Account Login", false);
  NewTweet = AddButton("NewTweet", 19, "Post new tweet", false);
  AddSeparator();
  RefreshTweets = AddButton("RefreshTweets", 11, "Refresh tweet list", false);
  ToolButton2 = AddButton("ToolButton2", 16, "Plumwit Options", true);
  AddSeparator();
  Profilebtn = AddButton("Profilebtn", 20, "Update your profile info", false);
  AddSeparator();
  ToolButton3 = AddButton("ToolButton3", 4, "About Plumwit", true);
  AddShortcuts();
}

// Ctrl+N stays unused: the timeline view swallows it. A disabled button's
// shortcut does nothing, as its click would.
void MainToolBar::AddShortcuts() {
  SetShortcutKey(LoginLogout, QKeySequence(Qt::CTRL | Qt::Key_L));
  SetShortcutKey(NewTweet, QKeySequence(Qt::CTRL | Qt::Key_T));
  SetShortcutKey(RefreshTweets, QKeySequence(Qt::Key_F5));
  SetShortcutKey(ToolButton2, QKeySequence(Qt::CTRL | Qt::Key_O));
  SetShortcutKey(Profilebtn, QKeySequence(Qt::CTRL | Qt::Key_P));
  SetShortcutKey(ToolButton3, QKeySequence(Qt::Key_F1));
}

PictureToolButton* MainToolBar::AddButton(const char* name, int picture, const char* hint,
                                          bool enabled) {
  auto* button = new PictureToolButton(picture, bar_);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(next_left_, 1, kButtonWidth, kButtonHeight);
  button->setEnabled(enabled);
  SetHint(button, QString::fromLatin1(hint));
  next_left_ += kButtonWidth;
  return button;
}

void MainToolBar::AddSeparator() {
  auto* separator = new QFrame(bar_);
  separator->setObjectName(QStringLiteral("ToolBarSeparator"));
  separator->setFrameShape(QFrame::VLine);
  separator->setFrameShadow(QFrame::Sunken);
  separator->setGeometry(next_left_, 4, kSeparatorWidth, kButtonHeight - 6);
  next_left_ += kSeparatorWidth;
}

}  // namespace plumwit
