#pragma once

#include <QFrame>

class QLabel;

namespace plumwit {

// The counts panel `Panel`: tweets, followers and following of the account.
class CountsPanel : public QFrame {
  Q_OBJECT

 public:
  explicit CountsPanel(QWidget* parent);

  void SetCounts(const QString& tweets, const QString& followers, const QString& following);

  QLabel* TweetsLabel;
  QLabel* FollowersLabel;
  QLabel* FollowingLabel;
};

}  // namespace plumwit
