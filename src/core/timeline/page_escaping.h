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

// A decoded status text as the HTML the page's script writes, shaped so that
// the script's link pattern finds in it exactly the addresses it finds in
// the plain text, and each found address reads back as those characters:
// - "<" becomes an empty comment and "&lt;": the comment's "<" ends an
//   address where the plain "<" would, and the entity never joins one;
// - "&" becomes "&amp;" only where a character reference could start (before
//   a letter, a digit or "#"). Those characters may all end an address, so an
//   address never ends on the added ";"; elsewhere a bare "&" is plain text;
// - a line break (CR LF, LF or CR) gets a "<br>" before it and stays itself;
// - everything else, quotes and ">" included, is plain text as it is.
std::string StatusTextAsHtml(std::string_view text);

// A status text as the page's script receives it: the service's entities
// decoded once, the result made HTML as above and then escaped for the script.
std::string StatusTextForScript(std::string_view service_text);

}  // namespace plumwit
