#include "core/service/service_location.h"

#include "core/build_config.h"

namespace plumwit {

std::string ServiceLocation::InterfaceBase() const { return scheme + "://" + host; }

std::string ServiceLocation::SitePage(std::string_view path) const {
  const std::string authority = host.substr(0, host.find('/'));
  std::string address = scheme + "://" + authority;
  address += path;
  return address;
}

ServiceDialect DialectNamed(std::string_view name) {
  return name == "statusnet" ? ServiceDialect::kStatusNet : ServiceDialect::kClassic;
}

ServiceLocation BuiltInService() {
  return ServiceLocation(build::kServiceScheme, build::kServiceHost,
                         DialectNamed(build::kServiceDialect));
}

}  // namespace plumwit
