#pragma once

#include <QFrame>

class QPlainTextEdit;
class QPushButton;

namespace plumwit {

// The tweet box `TwPanel` under the timeline: the memo `Tweet` and the
// button `tweetbtn`.
class TweetBox : public QFrame {
  Q_OBJECT

 public:
  explicit TweetBox(QWidget* parent);

  QPlainTextEdit* Tweet;
  QPushButton* tweetbtn;
};

}  // namespace plumwit
