#pragma once

#include <QProxyStyle>

namespace plumwit {

// Shows typed password characters as "*" whatever the platform's choice.
class PasswordStarStyle : public QProxyStyle {
  Q_OBJECT

 public:
  PasswordStarStyle();

  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* result) const override;
};

}  // namespace plumwit
