#include "main_window/tweet_box.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/hints.h"

namespace plumwit {

TweetBox::TweetBox(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("TwPanel"));
  setGeometry(0, 543, 323, 64);

  Tweet = new QPlainTextEdit(this);
  Tweet->setObjectName(QStringLiteral("Tweet"));
  Tweet->setGeometry(6, 7, 251, 50);
  Tweet->setTabChangesFocus(true);

  tweetbtn = new QPushButton(QStringLiteral("tweet this (140)"), this);
  tweetbtn->setObjectName(QStringLiteral("tweetbtn"));
  tweetbtn->setGeometry(261, 8, 56, 49);
  tweetbtn->setEnabled(false);
  tweetbtn->setAutoDefault(false);
  SetHint(tweetbtn, QStringLiteral("tweet this message"));
  hide();
}

}  // namespace plumwit
