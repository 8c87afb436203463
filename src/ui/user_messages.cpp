#include "ui/user_messages.h"

#include <QMessageBox>

#include "core/build_config.h"
#include "ui/skin.h"
#include "ui/ui_seams.h"

namespace plumwit {
namespace {

void ShowBox(QMessageBox::Icon icon, const QString& caption, const QString& text) {
  QMessageBox box(icon, caption,
                  QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                  QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  ApplySkin(box, MessageBoxSkin());
  SpreadSkinPalette(box);
  box.exec();
}

QString AppTitle() { return QString::fromUtf8(build::kAppTitle); }

}  // namespace

void ShowMessage(const QString& text) {
  if (const auto& hook = UiSeams::MessageBox()) return hook(text);
  ShowBox(QMessageBox::NoIcon, AppTitle(), text);
}

void ShowWarning(const QString& caption, const QString& text) {
  if (const auto& hook = UiSeams::WarningBox()) return hook(caption, text);
  ShowBox(QMessageBox::Warning, caption, text);
}

QString DefaultErrorText(const QString& message) {
  if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
  return message;
}

void ShowDefaultError(const QString& message) {
  const QString text = DefaultErrorText(message);
  if (const auto& hook = UiSeams::ErrorDisplay()) return hook(text);
  ShowBox(QMessageBox::Critical, AppTitle(), text);
}

}  // namespace plumwit
