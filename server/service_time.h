#pragma once

#include <cstdint>
#include <string>

namespace plumwit::server {

// Seconds since the Unix epoch, UTC.
std::int64_t NowSeconds();

// "Wed Aug 27 13:08:45 +0000 2008", the form every document uses.
std::string FormatServiceDate(std::int64_t seconds);

// "2008-08-27T13:08:45+00:00", as the rate limit's reset time is written in XML.
std::string FormatIsoDate(std::int64_t seconds);

// "Wed, 27 Aug 2008 13:08:45 GMT", for the Date header.
std::string FormatHttpDate(std::int64_t seconds);

}  // namespace plumwit::server
