#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace plumwit::server {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

// Valid UTF-8 whose characters an XML 1.0 document can carry: no control
// characters but tab, line feed and carriage return, no U+FFFE or U+FFFF.
// Everything the service stores passes this test, so every document it
// writes stays well-formed.
bool IsStorableText(std::string_view text);

// The code points of `text`; a malformed sequence becomes U+FFFD.
std::vector<char32_t> DecodeUtf8(std::string_view text);

std::size_t CountCodePoints(std::string_view text);

void AppendUtf8(std::string& out, char32_t code_point);

// Removes leading and trailing characters with codes 0 to 32.
std::string_view TrimControlsAndSpaces(std::string_view text);

}  // namespace plumwit::server
