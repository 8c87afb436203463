#include "main_window/counts_panel.h"

#include "ui/form_label.h"
#include "ui/hints.h"

namespace plumwit {
namespace {

QLabel* AddCount(QWidget* parent, const char* name, const char* text, int left, const char* hint) {
  auto* label = new FormLabel(name, QString::fromLatin1(text), QRect(left, 6, 96, 21), parent);
  SetHint(label, QString::fromLatin1(hint));
  return label;
}

}  // namespace

CountsPanel::CountsPanel(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("Panel"));
  setGeometry(0, 33, 323, 32);
  TweetsLabel = AddCount(this, "TweetsLabel", "Tweets: ", 8, "Tweets");
  FollowersLabel = AddCount(this, "FollowersLabel", "Followers: ", 96, "Followers");
  FollowingLabel = AddCount(this, "FollowingLabel", "Following: ", 200, "Following");
  FollowingLabel->resize(118, 21);
  hide();
}

void CountsPanel::SetCounts(const QString& tweets, const QString& followers,
                            const QString& following) {
  FollowersLabel->setText(QStringLiteral("Followers: ") + followers);
  FollowingLabel->setText(QStringLiteral("Following: ") + following);
  TweetsLabel->setText(QStringLiteral("Tweets: ") + tweets);
}

}  // namespace plumwit
