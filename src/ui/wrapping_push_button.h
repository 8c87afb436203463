#pragma once

#include <QPushButton>

namespace plumwit {

// A push button whose caption breaks at blanks when it is wider than the
// button, so a narrow button shows its whole caption on several lines.
class WrappingPushButton : public QPushButton {
  Q_OBJECT

 public:
  using QPushButton::QPushButton;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace plumwit
