#include "main_window/tweet_box.h"

#include <QPushButton>

#include "dialogs/status_posting.h"
#include "main_window/main_window.h"
#include "ui/exception_guard.h"
#include "ui/hints.h"
#include "ui/limited_memo.h"
#include "ui/wrapping_push_button.h"

namespace plumwit {
namespace {

// The two headers stay on the main window's client for every later request.
constexpr char kClientName[] = "Plumwit";
// Fewer characters than this cannot be posted from the box.
constexpr int kShortestPost = 2;

// The count stands on its own line under "tweet this". Qt breaks a caption
// at LF only; a CR would be drawn as a glyph.
QString ButtonCaption(int remaining) { return QStringLiteral("tweet this \n(%1)").arg(remaining); }

}  // namespace

TweetBox::TweetBox(TKIV* kiv) : QFrame(kiv), kiv_(*kiv) {
  setObjectName(QStringLiteral("TwPanel"));
  setGeometry(0, 543, 323, 64);

  Tweet = new LimitedMemo("Tweet", kStatusMaxLength, this);
  Tweet->setGeometry(6, 7, 251, 50);
  Tweet->setAccessibleName(QStringLiteral("Tweet"));

  // The designed caption, without its line break, until the first change;
  // the button wraps it so the count is not cut off.
  tweetbtn = new WrappingPushButton(QStringLiteral("tweet this (140)"), this);
  tweetbtn->setObjectName(QStringLiteral("tweetbtn"));
  tweetbtn->setGeometry(261, 8, 56, 49);
  tweetbtn->setEnabled(false);
  tweetbtn->setAutoDefault(false);
  SetHint(tweetbtn, QStringLiteral("tweet this message"));

  connect(Tweet, &LimitedMemo::Changed, this, Guarded(this, &TweetBox::TweetChange));
  connect(tweetbtn, &QPushButton::clicked, this, Guarded(this, &TweetBox::tweetbtnClick));
  hide();
}

void TweetBox::TweetChange() {
  const int length = Tweet->Length();
  tweetbtn->setText(ButtonCaption(Tweet->MaxLength() - length));
  tweetbtn->setEnabled(length >= kShortestPost);
}

void TweetBox::tweetbtnClick() {
  const QString text = Tweet->Text();
  if (IsBlankText(text)) return;
  HttpClient& http = kiv_.IdHTTP();
  http.Request.Referer = kClientName;
  http.Request.From = kClientName;
  if (PostStatus(kiv_, text)) Tweet->clear();
  kiv_.HomeTimelineRefresh();
  ReturnFocusToMemo();
  tweetbtn->setEnabled(false);
}

// Disabling the focused button would hand the focus on down the Tab order,
// to the tool bar's sign-out button, where the next Space signs the user out.
// The user goes on writing instead.
void TweetBox::ReturnFocusToMemo() {
  if (Tweet->isVisibleTo(window())) Tweet->setFocus(Qt::OtherFocusReason);
}

}  // namespace plumwit
