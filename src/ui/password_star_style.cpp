#include "ui/password_star_style.h"

namespace plumwit {

PasswordStarStyle::PasswordStarStyle() : QProxyStyle() {}

int PasswordStarStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                                 QStyleHintReturn* result) const {
  if (hint == SH_LineEdit_PasswordCharacter) return '*';
  return QProxyStyle::styleHint(hint, option, widget, result);
}

}  // namespace plumwit
