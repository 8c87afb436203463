#include "core/service/cookie_store.h"

#include <algorithm>
#include <cctype>

#include "core/service/cookie_date.h"

namespace plumwit {

namespace {

std::string_view Trim(std::string_view text) {
  const auto is_blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

bool HasControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && byte != '\t') || byte == 0x7F;
  });
}

bool LooksLikeIpAddress(std::string_view host) {
  return host.find(':') != std::string_view::npos ||
         std::all_of(host.begin(), host.end(), [](char c) {
           return c == '.' || std::isdigit(static_cast<unsigned char>(c));
         });
}

bool DomainMatches(std::string_view host, std::string_view domain) {
  if (host == domain) return true;
  return host.size() > domain.size() && !LooksLikeIpAddress(host) &&
         host.substr(host.size() - domain.size()) == domain &&
         host[host.size() - domain.size() - 1] == '.';
}

bool PathMatches(std::string_view request_path, std::string_view cookie_path) {
  if (request_path.substr(0, cookie_path.size()) != cookie_path) return false;
  return request_path.size() == cookie_path.size() || cookie_path.back() == '/' ||
         request_path[cookie_path.size()] == '/';
}

// The folder of the request path: where a cookie without a Path applies.
std::string DefaultPath(std::string_view request_path) {
  const std::size_t last_slash = request_path.rfind('/');
  if (request_path.empty() || request_path.front() != '/' || last_slash == 0) return "/";
  return std::string(request_path.substr(0, last_slash));
}

std::optional<long long> ParseMaxAge(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  if (text.empty() || text.size() > 12 || !std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c));
      })) {
    return std::nullopt;
  }
  const long long value = std::stoll(std::string(text));
  return negative ? -value : value;
}

struct Attributes {
  std::optional<std::string> domain;
  std::optional<std::string> path;
  std::optional<CookieStore::Clock::time_point> expires;
  std::optional<long long> max_age;
  bool secure = false;
};

void ReadAttribute(std::string_view attribute, Attributes& attributes) {
  const std::size_t equals = attribute.find('=');
  const std::string name = Lower(Trim(attribute.substr(0, equals)));
  const std::string_view value =
      equals == std::string_view::npos ? std::string_view() : Trim(attribute.substr(equals + 1));
  if (name == "domain") {
    std::string domain = Lower(value);
    if (!domain.empty() && domain.front() == '.') domain.erase(0, 1);
    attributes.domain = domain;
  } else if (name == "path") {
    if (!value.empty() && value.front() == '/') attributes.path = std::string(value);
  } else if (name == "expires") {
    if (auto date = ParseCookieDate(value)) attributes.expires = date;
  } else if (name == "max-age") {
    if (auto seconds = ParseMaxAge(value)) attributes.max_age = seconds;
  } else if (name == "secure") {
    attributes.secure = true;
  }
}

}  // namespace

void CookieStore::Record(std::string_view request_host, std::string_view request_path,
                         std::string_view header_value, Clock::time_point now) {
  const std::size_t first_semicolon = header_value.find(';');
  const std::string_view pair = header_value.substr(0, first_semicolon);
  const std::size_t equals = pair.find('=');
  if (equals == std::string_view::npos) return;

  Cookie cookie;
  cookie.name = std::string(Trim(pair.substr(0, equals)));
  cookie.value = std::string(Trim(pair.substr(equals + 1)));
  if (cookie.name.empty() || cookie.name.size() + cookie.value.size() > kMaxCookieBytes ||
      HasControlCharacter(cookie.name) || HasControlCharacter(cookie.value)) {
    return;
  }

  Attributes attributes;
  std::string_view rest = first_semicolon == std::string_view::npos
                              ? std::string_view()
                              : header_value.substr(first_semicolon + 1);
  while (!rest.empty()) {
    const std::size_t semicolon = rest.find(';');
    ReadAttribute(rest.substr(0, semicolon), attributes);
    rest = semicolon == std::string_view::npos ? std::string_view() : rest.substr(semicolon + 1);
  }
  if (attributes.secure) return;

  const std::string host = Lower(request_host);
  cookie.host_only = !attributes.domain || attributes.domain->empty();
  cookie.domain = cookie.host_only ? host : *attributes.domain;
  if (!DomainMatches(host, cookie.domain)) return;
  cookie.path = attributes.path ? *attributes.path : DefaultPath(request_path);
  if (attributes.max_age) {
    cookie.expires =
        *attributes.max_age <= 0
            ? Clock::time_point()
            : now + std::chrono::seconds(std::min(*attributes.max_age, 100LL * 365 * 86400));
  } else {
    cookie.expires = attributes.expires;
  }
  Store(std::move(cookie), now);
}

void CookieStore::Store(Cookie cookie, Clock::time_point now) {
  const auto same = std::find_if(cookies_.begin(), cookies_.end(), [&](const Cookie& stored) {
    return stored.name == cookie.name && stored.domain == cookie.domain &&
           stored.path == cookie.path;
  });
  const bool expired = cookie.expires && *cookie.expires <= now;
  if (same != cookies_.end()) {
    if (expired) {
      cookies_.erase(same);
    } else {
      cookie.order = same->order;
      *same = std::move(cookie);
    }
    return;
  }
  if (expired) return;
  DropOldestIfFull();
  cookie.order = next_order_++;
  cookies_.push_back(std::move(cookie));
}

void CookieStore::DropOldestIfFull() {
  if (cookies_.size() < kMaxCookies) return;
  cookies_.erase(
      std::min_element(cookies_.begin(), cookies_.end(),
                       [](const Cookie& a, const Cookie& b) { return a.order < b.order; }));
}

std::string CookieStore::HeaderFor(std::string_view host, std::string_view path,
                                   Clock::time_point now) const {
  const std::string request_host = Lower(host);
  std::vector<const Cookie*> matching;
  for (const Cookie& cookie : cookies_) {
    const bool host_matches = cookie.host_only ? request_host == cookie.domain
                                               : DomainMatches(request_host, cookie.domain);
    const bool alive = !cookie.expires || *cookie.expires > now;
    if (host_matches && alive && PathMatches(path, cookie.path)) matching.push_back(&cookie);
  }
  // Longer paths first, then the older cookie, as browsers order them.
  std::sort(matching.begin(), matching.end(), [](const Cookie* a, const Cookie* b) {
    if (a->path.size() != b->path.size()) return a->path.size() > b->path.size();
    return a->order < b->order;
  });
  std::string header;
  for (const Cookie* cookie : matching) {
    if (!header.empty()) header += "; ";
    header += cookie->name + "=" + cookie->value;
  }
  return header;
}

}  // namespace plumwit
