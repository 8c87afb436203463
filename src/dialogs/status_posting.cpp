#include "dialogs/status_posting.h"

#include <exception>

#include "core/service/endpoints.h"
#include "main_window/main_window.h"
#include "ui/user_messages.h"

namespace plumwit {

bool IsBlankText(const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() > 32) return false;
  }
  return true;
}

bool PostStatus(TKIV& kiv, const QString& text) {
  const std::string url = StatusUpdateUrl(text.toStdString(), kiv.Setup().Service());
  HttpClient& http = kiv.IdHTTP();
  http.Request.Username = kiv.Account().AccountName;
  http.Request.Password = kiv.Account().AccountPassword;
  http.Request.BasicAuthentication = true;
  try {
    http.Post(url);
    return true;
  } catch (const std::exception& error) {
    ShowMessage(QStringLiteral("Error : ") + QString::fromStdString(error.what()));
    return false;
  }
}

}  // namespace plumwit
