#include "server/html_page.h"

#include "server/html_text.h"

namespace plumwit::server {
namespace {

constexpr const char* kStyle =
    "body{font-family:sans-serif;background:#eef3f8;color:#2b354d;margin:0}"
    "header{background:#2b354d;color:#fff;padding:12px 24px}"
    "header a{color:#fff;text-decoration:none;font-weight:bold;font-size:20px}"
    "main{max-width:640px;margin:24px auto;background:#fff;padding:16px 24px;border-radius:6px}"
    ".status{border-bottom:1px solid #dde3ea;padding:8px 0;display:flex;gap:10px}"
    ".status img{width:48px;height:48px;border-radius:6px}"
    ".meta{color:#6b7a90;font-size:12px}"
    ".error{color:#b00020}"
    "label{display:block;margin-top:8px}"
    "code{background:#eef3f8;padding:1px 4px}";

}  // namespace

ServiceResponse HtmlPage::Render(unsigned status, std::string_view title, std::string_view body) {
  ServiceResponse response;
  response.status = status;
  response.content_type = "text/html; charset=utf-8";
  response.body = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
                  HtmlText::Escape(title) + "</title>\n<style>" + kStyle +
                  "</style>\n</head>\n<body>\n<header><a href=\"/\">Plumwit service</a></header>\n"
                  "<main>\n" +
                  std::string(body) + "\n</main>\n</body>\n</html>\n";
  return response;
}

}  // namespace plumwit::server
