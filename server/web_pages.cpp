#include "server/web_pages.h"

#include <optional>

#include "server/avatar_drawer.h"
#include "server/html_page.h"
#include "server/html_text.h"
#include "server/password_hasher.h"
#include "server/profile_rules.h"
#include "server/service_time.h"

namespace plumwit::server {
namespace {

constexpr int kListedAccounts = 100;
constexpr int kListedStatuses = 50;

std::string AccountLink(const Account& account) {
  return "<a href=\"/" + HtmlText::Escape(account.screen_name) + "\">" +
         HtmlText::Escape(account.screen_name) + "</a>";
}

std::optional<std::string> FirstRefusal(std::string_view screen_name, std::string_view name,
                                        std::string_view password, std::string_view repeated) {
  if (auto refusal = ProfileRules::CheckScreenName(screen_name)) return refusal;
  if (auto refusal = ProfileRules::CheckName(name)) return refusal;
  if (auto refusal = ProfileRules::CheckPassword(password)) return refusal;
  if (password != repeated) return std::string("The two passwords differ.");
  return std::nullopt;
}

}  // namespace

WebPages::WebPages(Store& store) : store_(store) {}

ServiceResponse WebPages::Home(const SiteLinks& links) {
  std::string body =
      "<h1>A small microblog service</h1>\n"
      "<p>This service runs on this computer for Plumwit and any other client of the classic "
      "version-1 interface. Sign in from the client with the name and password of an account "
      "of this service.</p>\n"
      "<p><a href=\"/signup\">Create an account</a> &middot; "
      "<a href=\"/account/resend_password\">Forgotten password</a> &middot; "
      "<a href=\"/pages/api_terms\">Interface terms</a></p>\n<h2>Accounts</h2>\n<ul>\n";
  for (const Account& account : store_.Accounts(kListedAccounts)) {
    body += "<li>" + AccountLink(account) + " " + HtmlText::Escape(account.name) + "</li>\n";
  }
  body += "</ul>\n<h2>Latest statuses</h2>\n";
  body += StatusList(store_.ViewsOf(store_.PublicStatuses(20)), links);
  return HtmlPage::Render(200, "Plumwit service", body);
}

ServiceResponse WebPages::SignupForm() { return SignupPage(200, {}, {}, {}); }

ServiceResponse WebPages::Signup(const ServiceRequest& request) {
  const std::string screen_name = request.Param("screen_name").value_or("");
  const std::string name = request.Param("name").value_or("");
  const std::string password = request.Param("password").value_or("");
  const std::string repeated = request.Param("password_confirmation").value_or("");
  if (auto refusal = FirstRefusal(screen_name, name, password, repeated)) {
    return SignupPage(400, *refusal, screen_name, name);
  }
  NewAccount account;
  account.screen_name = screen_name;
  // Clients show the name beside every status; an account starts with one.
  account.name = name.empty() ? screen_name : name;
  account.password_hash = PasswordHasher::Hash(password);
  account.created_at = NowSeconds();
  if (!store_.CreateAccount(account)) {
    return SignupPage(400, "Screen name has already been taken.", screen_name, name);
  }
  return HtmlPage::Render(
      200, "Welcome",
      "<h1>Welcome, " + HtmlText::Escape(screen_name) +
          "</h1>\n<p>Your account is ready. Sign in from Plumwit with the name <b>" +
          HtmlText::Escape(screen_name) + "</b> and the password you chose.</p>\n<p><a href=\"/" +
          HtmlText::Escape(screen_name) + "\">Your page</a></p>");
}

ServiceResponse WebPages::SignupPage(unsigned status, std::string_view message,
                                     std::string_view screen_name, std::string_view name) {
  std::string body = "<h1>Create an account</h1>\n";
  if (!message.empty()) body += "<p class=\"error\">" + HtmlText::Escape(message) + "</p>\n";
  body +=
      "<form method=\"post\" action=\"/signup\">\n"
      "<label>Screen name (letters, digits and _, at most 15) <input name=\"screen_name\" "
      "maxlength=\"15\" required value=\"" +
      HtmlText::Escape(screen_name) +
      "\"></label>\n"
      "<label>Name (at most 20 characters) <input name=\"name\" maxlength=\"20\" value=\"" +
      HtmlText::Escape(name) +
      "\"></label>\n"
      "<label>Password (at least 6 characters) <input type=\"password\" name=\"password\" "
      "required></label>\n"
      "<label>Password again <input type=\"password\" name=\"password_confirmation\" "
      "required></label>\n"
      "<p><button type=\"submit\">Create account</button></p>\n</form>";
  return HtmlPage::Render(status, "Create an account", body);
}

ServiceResponse WebPages::ResendPassword() {
  return HtmlPage::Render(
      200, "Forgotten password",
      "<h1>Forgotten password</h1>\n"
      "<p>This service runs on your own computer and has no way to send mail, so it cannot "
      "mail you your password. It does not know the password either: it keeps only a salted "
      "hash of it.</p>\n"
      "<p>Whoever runs the service can set a new password from the command line:</p>\n"
      "<p><code>plumwit-server passwd NAME</code></p>\n"
      "<p>Add <code>--data DIR</code> before <code>passwd</code> when the service keeps its "
      "data in a folder of its own. The command asks for the new password twice on a "
      "terminal, or reads one line from its standard input.</p>");
}

ServiceResponse WebPages::ApiTerms() {
  return HtmlPage::Render(
      200, "Interface terms",
      "<h1>Terms of the interface</h1>\n"
      "<p>This service offers the classic version-1 interface (XML, and JSON under the same "
      "paths and under <code>/api/</code>) with HTTP basic authentication, to any client "
      "that runs on this computer.</p>\n<ul>\n"
      "<li>Use it for your own accounts and statuses; there are no rate limits.</li>\n"
      "<li>Everything is stored on this computer only and travels unencrypted over plain "
      "HTTP, so do not expose the service beyond this machine.</li>\n"
      "<li>The service is offered as is, without any warranty.</li>\n</ul>");
}

ServiceResponse WebPages::AccountPage(std::string_view screen_name, const SiteLinks& links) {
  const std::optional<Account> account = store_.FindAccount(screen_name);
  if (!account) return NotFound();
  const UserView view = store_.ViewOf(*account, false);
  std::string body = "<div class=\"status\"><img src=\"" +
                     HtmlText::Escape(links.Avatar(account->screen_name)) +
                     "\" alt=\"\"><div><h1>" + HtmlText::Escape(account->name) + "</h1>\n<p>@" +
                     HtmlText::Escape(account->screen_name);
  if (!account->location.empty()) body += " &middot; " + HtmlText::Escape(account->location);
  body += "</p></div></div>\n";
  if (!account->description.empty()) {
    body += "<p>" + HtmlText::Escape(account->description) + "</p>\n";
  }
  if (HtmlText::IsWebAddress(account->url)) {
    body += "<p><a href=\"" + HtmlText::Escape(account->url) + "\" rel=\"nofollow\">" +
            HtmlText::Escape(account->url) + "</a></p>\n";
  } else if (!account->url.empty()) {
    body += "<p>" + HtmlText::Escape(account->url) + "</p>\n";
  }
  body += "<p class=\"meta\">" + std::to_string(view.counts.statuses) + " statuses &middot; " +
          std::to_string(view.counts.followers) + " followers &middot; following " +
          std::to_string(view.counts.friends) + "</p>\n";
  body += StatusList(store_.ViewsOf(store_.AccountStatuses(account->id, kListedStatuses)), links);
  return HtmlPage::Render(200, account->name.empty() ? account->screen_name : account->name, body);
}

ServiceResponse WebPages::Avatar(std::string_view file_name) {
  constexpr std::string_view kExtension = ".svg";
  if (file_name.size() <= kExtension.size() ||
      file_name.substr(file_name.size() - kExtension.size()) != kExtension) {
    return NotFound();
  }
  const std::optional<Account> account =
      store_.FindAccount(file_name.substr(0, file_name.size() - kExtension.size()));
  if (!account) return NotFound();
  ServiceResponse response;
  response.content_type = "image/svg+xml";
  response.body = AvatarDrawer::Svg(*account);
  response.headers.emplace_back("Cache-Control", "max-age=300");
  return response;
}

ServiceResponse WebPages::NotFound() {
  return HtmlPage::Render(404, "Not found",
                          "<h1>Not found</h1>\n<p>There is no such page or account here.</p>\n"
                          "<p><a href=\"/\">Home</a></p>");
}

std::string WebPages::StatusList(const std::vector<StatusView>& statuses,
                                 const SiteLinks& links) const {
  if (statuses.empty()) return "<p class=\"meta\">No statuses yet.</p>\n";
  std::string html;
  for (const StatusView& view : statuses) {
    const Account& author = view.author.account;
    html += "<div class=\"status\"><img src=\"" +
            HtmlText::Escape(links.Avatar(author.screen_name)) + "\" alt=\"\"><div><b>" +
            AccountLink(author) + "</b> " + HtmlText::Escape(author.name) + "<br>" +
            HtmlText::EscapeWithLinks(view.status.text) + "<div class=\"meta\">" +
            HtmlText::Escape(FormatServiceDate(view.status.created_at)) + " from " +
            HtmlText::Escape(view.status.source) + "</div></div></div>\n";
  }
  return html;
}

}  // namespace plumwit::server
