#include "dialogs/post_new_tweet_dialog.h"

#include "dialogs/dialog_frame.h"

namespace plumwit {

TPostNewTweet::TPostNewTweet(TKIV& kiv, QWidget* parent) : QDialog(parent), kiv_(kiv) {
  SetUpDialogFrame(*this, "PostNewTweet", QStringLiteral("Post new tweet..."), QSize(520, 115));
}

}  // namespace plumwit
