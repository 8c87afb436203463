#pragma once

#include <string>
#include <string_view>

namespace plumwit {

// The two shapes of the interface the client can speak. Classic names the
// account in the path of the user record and the timeline; the one GNU
// social and Friendica serve names it in the query of the user record and
// takes the timeline's account from the credentials.
enum class ServiceDialect { kClassic, kStatusNet };

// Where the service is and how to talk to it.
struct ServiceLocation {
  // "http" or "https".
  std::string scheme = "http";
  // Host, optionally with ":port" and a "/path" prefix of the interface.
  std::string host;
  ServiceDialect dialect = ServiceDialect::kClassic;

  ServiceLocation() = default;
  // Plain HTTP and the classic interface, on `host`.
  ServiceLocation(const char* host) : host(host) {}         // NOLINT: a host is a location
  ServiceLocation(const std::string& host) : host(host) {}  // NOLINT: a host is a location
  ServiceLocation(std::string scheme, std::string host, ServiceDialect dialect)
      : scheme(std::move(scheme)), host(std::move(host)), dialect(dialect) {}

  // Scheme, "://" and the host: every interface URL starts with it.
  std::string InterfaceBase() const;
  // A web page of the site: scheme, "://", the host without the interface's
  // path prefix, then `path` (which starts with "/").
  std::string SitePage(std::string_view path) const;
};

// "statusnet" names that dialect; anything else is the classic one.
ServiceDialect DialectNamed(std::string_view name);

// The service the program was built for.
ServiceLocation BuiltInService();

}  // namespace plumwit
