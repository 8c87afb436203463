#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace plumwit {

class LimitedMemo;
class TKIV;

// The dialog `PostNewTweet`: "Post new tweet...". The second way to post,
// with the count of characters left beside the memo. Created once at
// start-up, shown modally by the main window's commands and hidden, not
// destroyed, when closed; the memo keeps its text between showings.
class TPostNewTweet : public QDialog {
  Q_OBJECT

 public:
  explicit TPostNewTweet(TKIV& kiv, QWidget* parent = nullptr);

  void MemoPostChange();
  void tweetbuttonClick();
  // Posts the memo's text, refreshes the main window's timeline and closes.
  void tweetbutton1Click();

  QLabel* sLabelFX1;
  QLabel* ChrsLeftLabel;
  QLabel* CharsLeft;
  LimitedMemo* MemoPost;
  QPushButton* tweetbutton;

 private:
  void BuildControls();

  TKIV& kiv_;
};

}  // namespace plumwit
