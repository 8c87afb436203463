#pragma once

#include <string>
#include <string_view>

namespace plumwit {

// Escapes text for HTML, in element content or a double- or single-quoted
// attribute alike. Line breaks become character references, so a value
// never spreads over more than its own page line.
std::string EscapeHtml(std::string_view text);

// Decodes, once, the HTML entities the service writes into a status text:
// &lt; &gt; &amp; &quot; &apos; and numeric references (&#39;, &#x2F;).
// Anything else, an unknown or malformed reference included, stays as is.
std::string DecodeServiceEntities(std::string_view text);

// Escapes text for the inside of a double-quoted JavaScript string literal
// that stands in an HTML script element.
std::string EscapeScriptString(std::string_view text);

// A status text as the page's script receives it: the service's entities
// decoded, the result escaped for HTML (line breaks kept, so an address
// before one does not run on into the next line) and then for the script.
std::string StatusTextForScript(std::string_view service_text);

}  // namespace plumwit
