#include "dialogs/post_new_tweet_dialog.h"

#include <QPushButton>

#include "dialogs/dialog_artwork.h"
#include "dialogs/dialog_fonts.h"
#include "dialogs/dialog_frame.h"
#include "dialogs/status_posting.h"
#include "main_window/main_window.h"
#include "ui/box_label.h"
#include "ui/exception_guard.h"
#include "ui/form_label.h"
#include "ui/hints.h"
#include "ui/limited_memo.h"
#include "ui/opening_focus.h"
#include "ui/skin.h"

namespace plumwit {
namespace {

const QSize kButtonPicture(100, 28);

}  // namespace

TPostNewTweet::TPostNewTweet(TKIV& kiv, QWidget* parent) : QDialog(parent), kiv_(kiv) {
  SetUpDialogFrame(*this, "PostNewTweet", QStringLiteral("Post new tweet..."), QSize(520, 115),
                   DesignFont("Tahoma", 11, FontUnit::kPixels));
  BuildControls();
  OpeningFocus::Install(*this, *MemoPost);
  SpreadWindowFont(*this);
  SpreadSkinPalette(*this);
  connect(MemoPost, &LimitedMemo::Changed, this, Guarded(this, &TPostNewTweet::MemoPostChange));
  connect(tweetbutton, &QPushButton::clicked, this,
          Guarded(this, &TPostNewTweet::tweetbuttonClick));
}

void TPostNewTweet::BuildControls() {
  sLabelFX1 = new FormLabel("sLabelFX1", QStringLiteral("What\u2019s happening?"),
                            QRect(8, 8, 160, 25), this);
  sLabelFX1->setFont(DesignFont("Tahoma", 16, FontUnit::kPixels, true));

  ChrsLeftLabel =
      new FormLabel("ChrsLeftLabel", QStringLiteral("Chars Left:"), QRect(432, 24, 78, 22), this);
  ChrsLeftLabel->setFont(DesignFont("Tahoma", 13, FontUnit::kPixels, true));

  CharsLeft = new FormLabel("CharsLeft", QStringLiteral("140"), QRect(440, 40, 57, 39), this);
  CharsLeft->setFont(DesignFont("Tahoma", 27, FontUnit::kPixels, true));
  SetHint(CharsLeft, QStringLiteral("Tweet remaining characters"));

  MemoPost = new LimitedMemo("MemoPost", kStatusMaxLength, this);
  MemoPost->setGeometry(8, 32, 401, 73);
  MemoPost->setFont(DesignFont("Arial Black", 13, FontUnit::kPixels));
  MemoPost->KeepSelectionVisible();
  SetHint(MemoPost, QStringLiteral("Edit your tweet"));
  LabelBox(sLabelFX1, MemoPost);

  tweetbutton = new QPushButton(this);
  tweetbutton->setObjectName(QStringLiteral("tweetbutton"));
  tweetbutton->setGeometry(416, 80, 100, 28);
  tweetbutton->setIcon(DialogArtwork::TweetThisButton());
  tweetbutton->setIconSize(kButtonPicture);
  tweetbutton->setCursor(Qt::PointingHandCursor);
  tweetbutton->setAutoDefault(false);
  tweetbutton->setDefault(false);
  // The words are in the picture only.
  tweetbutton->setAccessibleName(QStringLiteral("tweet this"));
}

void TPostNewTweet::MemoPostChange() {
  CharsLeft->setText(QString::number(MemoPost->MaxLength() - MemoPost->Length()));
}

void TPostNewTweet::tweetbuttonClick() { tweetbutton1Click(); }

// The "Referer" and "From" headers are left as they are: only a post from
// the main window's box sets them.
void TPostNewTweet::tweetbutton1Click() {
  const QString text = MemoPost->Text();
  if (IsBlankText(text)) return;
  if (PostStatus(kiv_, text)) MemoPost->clear();
  kiv_.HomeTimelineRefresh();
  close();
}

}  // namespace plumwit
