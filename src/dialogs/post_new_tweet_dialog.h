#pragma once

#include <QDialog>

namespace plumwit {

class TKIV;

// The dialog `PostNewTweet`: "Post new tweet...". Created once at start-up, shown modally by the
// main window's commands and hidden, not destroyed, when closed.
class TPostNewTweet : public QDialog {
  Q_OBJECT

 public:
  explicit TPostNewTweet(TKIV& kiv, QWidget* parent = nullptr);

 private:
  TKIV& kiv_;
};

}  // namespace plumwit
