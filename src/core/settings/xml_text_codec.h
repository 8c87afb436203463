#pragma once

#include <string>
#include <string_view>

namespace plumwit {

// Escapes a value for the remembered sign-in file: the five markup characters
// as named references and every byte from 128 to 255 as "&#xNN;" (two
// lower-case digits), so the file holds 7-bit characters only and any byte
// string, UTF-8 text included, comes back byte for byte. A NUL byte, which
// would end the document for the reader, is written as "&#x00;".
std::string EncodeXmlText(std::string_view value);

// Undoes the escaping in one pass: the five named references in any case, and
// "&#NNN;" or "&#xHH;" as the single byte with that code (1 to 255). Anything
// else, an ampersand that starts none of these included, stays as it is.
std::string DecodeXmlText(std::string_view text);

}  // namespace plumwit
