#pragma once

#include <QFrame>

namespace plumwit {

class PictureToolButton;

// The band `CoolBar` with its tool bar `ToolBar`: flat 39 by 38 buttons with
// 32 by 32 pictures, and 8 pixel separators.
class MainToolBar : public QFrame {
  Q_OBJECT

 public:
  // Picture index of `LoginLogout`: the window's record of the sign-in state.
  static constexpr int kSignedOutPicture = 0;
  static constexpr int kSignedInPicture = 18;

  explicit MainToolBar(QWidget* parent);

  PictureToolButton* LoginLogout;
  PictureToolButton* NewTweet;
  PictureToolButton* RefreshTweets;
  PictureToolButton* ToolButton2;
  PictureToolButton* Profilebtn;
  PictureToolButton* ToolButton3;

 private:
  PictureToolButton* AddButton(const char* name, int picture, const char* hint, bool enabled);
  void AddSeparator();
  void AddShortcuts();

  QWidget* bar_;
  int next_left_ = 0;
};

}  // namespace plumwit
