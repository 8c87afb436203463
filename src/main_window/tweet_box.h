#pragma once

#include <QFrame>

class QPushButton;

namespace plumwit {

class LimitedMemo;
class TKIV;

// The tweet box `TwPanel` under the timeline: the memo `Tweet`, whose count
// of characters left shows on the button `tweetbtn`, and the posting of
// its text through the main window.
class TweetBox : public QFrame {
  Q_OBJECT

 public:
  explicit TweetBox(TKIV* kiv);

  // The memo changed: the count on the button, and whether it may be pressed.
  void TweetChange();
  // Posts the memo's text, then refreshes the timeline.
  void tweetbtnClick();

  LimitedMemo* Tweet;
  QPushButton* tweetbtn;

 private:
  void ReturnFocusToMemo();

  TKIV& kiv_;
};

}  // namespace plumwit
