#include <gtest/gtest.h>

#include <string>

#include "core/timeline/page_builder.h"
#include "core/timeline/page_escaping.h"
#include "support/service_documents.h"

namespace plumwit {
namespace {

constexpr std::size_t kHeadLines = 9;
constexpr std::size_t kStatusLines = 17;

PageContext TestContext() {
  PageContext context;
  context.program_folder = "/usr/lib/plumwit/";
  context.service_host = "127.0.0.1:8080";
  return context;
}

std::string Status(const std::string& text_element, const std::string& user_element) {
  return "<status><created_at>Tue Mar 10 08:15:00 +0000 2009</created_at><id>1</id>" +
         text_element + user_element + "</status>";
}

std::string Author(const std::string& name = "Ann") {
  return "<user><id>9</id><name>" + name +
         "</name><screen_name>ann</screen_name>"
         "<profile_image_url>http://a0.example/ann.png</profile_image_url>"
         "<created_at>Mon Jan 05 10:00:00 +0000 2009</created_at></user>";
}

std::string Timeline(const std::string& statuses) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<statuses type=\"array\">\n" + statuses +
         "\n</statuses>\n";
}

// The whole refresh: head lines, one block per status, closing line.
PageLines BuildPage(const std::string& xml, const PageContext& context = TestContext()) {
  XmlDocument timeline;
  timeline.Load(xml);
  PageLines lines;
  AppendHeadLines(lines, context);
  AppendStatusLines(lines, timeline, context);
  AppendClosingLine(lines);
  return lines;
}

std::string WithCrLf(const std::string& text) {
  std::string converted;
  for (const char c : text) converted += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return converted;
}

const char* const kThreeStatuses =
    R"(<?xml version="1.0" encoding="UTF-8"?>
<statuses type="array">
  <status>
    <created_at>Tue Mar 10 08:15:00 +0000 2009</created_at>
    <id>3</id>
    <text>Reading http://example.org/a?b=1&amp;amp;c=2 now</text>
    <user>
      <id>1</id>
      <name>Ann Example</name>
      <screen_name>ann</screen_name>
      <profile_image_url>http://a0.example/ann.png</profile_image_url>
      <created_at>Mon Jan 05 10:00:00 +0000 2009</created_at>
    </user>
  </status>
  <status>
    <created_at>Mon Mar 09 12:00:00 +0000 2009</created_at>
    <id>2</id>
    <text>Lunch &amp;lt;3</text>
    <user>
      <id>2</id>
      <name>Bob</name>
      <screen_name>bob_b</screen_name>
      <profile_image_url>http://a0.example/bob.jpg</profile_image_url>
      <created_at>Sun Feb 01 09:00:00 +0000 2009</created_at>
    </user>
  </status>
  <status>
    <created_at>Sun Mar 08 23:59:59 +0000 2009</created_at>
    <id>1</id>
    <text><![CDATA[Good night]]></text>
    <user>
      <id>1</id>
      <name>Ann Example</name>
      <screen_name>ann</screen_name>
      <profile_image_url>http://a0.example/ann.png</profile_image_url>
      <created_at>Mon Jan 05 10:00:00 +0000 2009</created_at>
    </user>
  </status>
</statuses>
)";

// Each block's date is its status's own, not its author's sign-up date.
const char* const kThreeStatusPage =
    R"(<!DOCTYPE html PUBLIC "-//W3C//DTD XHTML 1.0 Strict//EN" "http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd">
<html xmlns="http://www.w3.org/1999/xhtml">
<head>
<META HTTP-EQUIV="PRAGMA" CONTENT="NO-CACHE">
<meta http-equiv="expires" content="-1" />
<meta http-equiv="cache-control" content="no-cache" />
<meta http-equiv="Content-Type" content="text/html; charset=utf-8" />
<link href="file:///usr/lib/plumwit/style.css" rel="stylesheet" type="text/css" />
</head><body><div id="wrap"><div id="contents">
<div id="tweet"><img src="http://a0.example/ann.png" id="tweetimage">
<div id="tweetuser">
By: Ann Example ( <a href="http://127.0.0.1:8080/ann" target="_blank">ann</a> )
</div><div id="tweetdate">
Tweeted on: Tue Mar 10 08:15:00 +0000 2009
</div>
<div id="tweettext">  
<script  type="text/javascript">
function text_to_link(text)
{
var exp = /(\b(https?|ftp|file):\/\/[-A-Z0-9+&@#\/%?=~_|!:,.;]*[-A-Z0-9+&@#\/%=~_|])/ig;
return text.replace(exp,"<a href='$1' target='_blank'>$1</a>");
}
var linkdata=text_to_link("Reading http://example.org/a?b=1&amp;c=2 now");
document.write(linkdata);
</script>
</div></div><div id="tweetsseparator"></div>
<div id="tweet"><img src="http://a0.example/bob.jpg" id="tweetimage">
<div id="tweetuser">
By: Bob ( <a href="http://127.0.0.1:8080/bob_b" target="_blank">bob_b</a> )
</div><div id="tweetdate">
Tweeted on: Mon Mar 09 12:00:00 +0000 2009
</div>
<div id="tweettext">  
<script  type="text/javascript">
function text_to_link(text)
{
var exp = /(\b(https?|ftp|file):\/\/[-A-Z0-9+&@#\/%?=~_|!:,.;]*[-A-Z0-9+&@#\/%=~_|])/ig;
return text.replace(exp,"<a href='$1' target='_blank'>$1</a>");
}
var linkdata=text_to_link("Lunch \x3C!---->&lt;3");
document.write(linkdata);
</script>
</div></div><div id="tweetsseparator"></div>
<div id="tweet"><img src="http://a0.example/ann.png" id="tweetimage">
<div id="tweetuser">
By: Ann Example ( <a href="http://127.0.0.1:8080/ann" target="_blank">ann</a> )
</div><div id="tweetdate">
Tweeted on: Sun Mar 08 23:59:59 +0000 2009
</div>
<div id="tweettext">  
<script  type="text/javascript">
function text_to_link(text)
{
var exp = /(\b(https?|ftp|file):\/\/[-A-Z0-9+&@#\/%?=~_|!:,.;]*[-A-Z0-9+&@#\/%=~_|])/ig;
return text.replace(exp,"<a href='$1' target='_blank'>$1</a>");
}
var linkdata=text_to_link("Good night");
document.write(linkdata);
</script>
</div></div><div id="tweetsseparator"></div>
</div></div></body></html>)";

TEST(PageBuilder, ThreeStatusesMakeTheSixtyOneLinePage) {
  const PageLines lines = BuildPage(kThreeStatuses);
  ASSERT_EQ(lines.size(), 61u);
  EXPECT_EQ(lines.front().size(), 109u);
  EXPECT_EQ(lines[kHeadLines + 10].size(), 88u);  // the link pattern line
  EXPECT_EQ(JoinPageLines(lines), WithCrLf(kThreeStatusPage));
}

TEST(PageBuilder, EmptyTimelineIsTheHeadAndTheClosingLine) {
  const PageLines lines = BuildPage(Timeline(""));
  ASSERT_EQ(lines.size(), kHeadLines + 1);
  EXPECT_EQ(lines.back(), "</div></div></body></html>");
}

std::string NumberedStatuses(int first, int last, const std::string& extra = "") {
  std::string statuses;
  for (int i = first; i <= last; ++i) {
    statuses += Status("<text>status " + std::to_string(i) + "</text>", Author()) + "\n";
  }
  return statuses + extra;
}

// A service that sends far more than the 20 asked for gets the first 200
// shown, each block exactly as if the reply had held only those; what lies
// beyond, a broken status too, is never read.
TEST(PageBuilder, BuildsAtMostTheFirstTwoHundredStatuses) {
  const PageLines lines = BuildPage(Timeline(NumberedStatuses(1, 10000, Status("", Author()))));
  ASSERT_EQ(lines.size(), kHeadLines + 200 * kStatusLines + 1);
  EXPECT_EQ(lines, BuildPage(Timeline(NumberedStatuses(1, 200))));
  EXPECT_EQ(lines[kHeadLines + 199 * kStatusLines + 13],
            "var linkdata=text_to_link(\"status 200\");");
  EXPECT_EQ(BuildPage(Timeline(NumberedStatuses(1, 199))).size(),
            kHeadLines + 199 * kStatusLines + 1);
}

TEST(PageBuilder, JoinsWithCrLfAndNoFinalLineBreak) {
  EXPECT_EQ(JoinPageLines({}), "");
  EXPECT_EQ(JoinPageLines({"only"}), "only");
  EXPECT_EQ(JoinPageLines({"a", "", "b"}), "a\r\n\r\nb");
}

struct FolderCase {
  std::string folder;
  std::string link_line;
};

class StylesheetLinkTest : public ::testing::TestWithParam<FolderCase> {};

// The page is shown with the program folder as its base; an encoded file
// URL finds the stylesheet even when a folder name holds "#" or "%".
TEST_P(StylesheetLinkTest, PointsIntoTheProgramFolder) {
  PageContext context = TestContext();
  context.program_folder = GetParam().folder;
  PageLines lines;
  AppendHeadLines(lines, context);
  ASSERT_EQ(lines.size(), kHeadLines);
  EXPECT_EQ(lines[7], GetParam().link_line);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, StylesheetLinkTest,
    ::testing::Values(
        FolderCase{"/opt/my apps/#1 \"100%\"/",
                   "<link href=\"file:///opt/my%20apps/%231%20%22100%25%22/style.css\" "
                   "rel=\"stylesheet\" type=\"text/css\" />"},
        FolderCase{"/home/ren\xC3\xA9/",
                   "<link href=\"file:///home/ren%C3%A9/style.css\" rel=\"stylesheet\" "
                   "type=\"text/css\" />"},
        FolderCase{"", "<link href=\"style.css\" rel=\"stylesheet\" type=\"text/css\" />"}));

struct StatusTextCase {
  const char* label;
  std::string text_element;
  std::string script_line;
};

class StatusTextEscapingTest : public ::testing::TestWithParam<StatusTextCase> {};

// The status text reaches the page's script as a string literal whose value
// is HTML showing exactly the text the service meant. Each "<" comes after an
// empty comment that ends any address before it.
TEST_P(StatusTextEscapingTest, StaysTextAndOnItsLine) {
  const PageLines lines = BuildPage(Timeline(Status(GetParam().text_element, Author())));
  ASSERT_EQ(lines.size(), kHeadLines + kStatusLines + 1);
  EXPECT_EQ(lines[kHeadLines + 13],
            "var linkdata=text_to_link(\"" + GetParam().script_line + "\");");
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StatusTextEscapingTest,
    ::testing::Values(
        // As the service writes markup: HTML entities inside the XML.
        StatusTextCase{"ServiceEscapedMarkup",
                       "<text>&amp;lt;b&amp;gt;bold&amp;lt;/b&amp;gt;</text>",
                       "\\x3C!---->&lt;b>bold\\x3C!---->&lt;/b>"},
        StatusTextCase{"RawMarkupInCdata", "<text><![CDATA[<img src=x onerror=alert(1)>]]></text>",
                       "\\x3C!---->&lt;img src=x onerror=alert(1)>"},
        StatusTextCase{"ScriptEnd", "<text><![CDATA[</script><script>alert(1)</script>]]></text>",
                       "\\x3C!---->&lt;/script>\\x3C!---->&lt;script>alert(1)\\x3C!---->&lt;/"
                       "script>"},
        StatusTextCase{"Quotes",
                       "<text>say &amp;quot;hi&amp;quot; it&amp;#39;s \"raw\" 'too'</text>",
                       "say \\\"hi\\\" it\\'s \\\"raw\\\" \\'too\\'"},
        StatusTextCase{"LineBreaks", "<text>one\ntwo&#13;three</text>",
                       "one<br>\\ntwo<br>\\rthree"},
        StatusTextCase{"Backslash", "<text>C:\\temp\\</text>", "C:\\\\temp\\\\"},
        StatusTextCase{"LineSeparators",
                       "<text>a\xE2\x80\xA8"
                       "b\xE2\x80\xA9"
                       "c</text>",
                       "a\\u2028b\\u2029c"},
        // Decoded once only: an escaped entity shows as typed.
        StatusTextCase{"DecodedOnce", "<text>&amp;amp;lt; &amp;nbsp;</text>",
                       "&amp;lt; &amp;nbsp;"},
        StatusTextCase{"NumericReferences", "<text>&amp;#233;&amp;#x1F600;</text>",
                       "\xC3\xA9\xF0\x9F\x98\x80"},
        StatusTextCase{"AddressKeepsItsQuery",
                       "<text>see http://example.org/?a=1&amp;amp;b=2</text>",
                       "see http://example.org/?a=1&amp;b=2"}),
    [](const auto& info) { return info.param.label; });

// Names, the picture address and the date cannot leave their attribute or
// element, and cannot add page lines.
TEST(PageBuilder, AuthorValuesAndDateAreEscaped) {
  const std::string status =
      "<status><created_at>&lt;i&gt;today&lt;/i&gt;</created_at>"
      "<text>hi</text><user><name>&lt;b&gt;Ann&lt;/b&gt; &amp; \"Co\"\nLtd</name>"
      "<screen_name>ann/../x?y</screen_name>"
      "<profile_image_url>x\" onerror=\"alert(1)</profile_image_url></user></status>";
  const PageLines lines = BuildPage(Timeline(status));
  ASSERT_EQ(lines.size(), kHeadLines + kStatusLines + 1);
  EXPECT_EQ(lines[kHeadLines + 0],
            "<div id=\"tweet\"><img src=\"x&quot; onerror=&quot;alert(1)\" id=\"tweetimage\">");
  EXPECT_EQ(lines[kHeadLines + 2],
            "By: &lt;b&gt;Ann&lt;/b&gt; &amp; &quot;Co&quot;&#10;Ltd ( <a "
            "href=\"http://127.0.0.1:8080/ann%2F..%2Fx%3Fy\" target=\"_blank\">ann/../x?y</a> )");
  EXPECT_EQ(lines[kHeadLines + 4], "Tweeted on: &lt;i&gt;today&lt;/i&gt;");
}

// Profiles are web pages of the site, at the root of the service's host
// whatever path its interface lives under.
TEST(PageBuilder, ProfileLinkUsesTheServiceSite) {
  PageContext context = TestContext();
  context.service_host = "example.org:8080/api";
  const PageLines lines = BuildPage(Timeline(Status("<text>hi</text>", Author())), context);
  EXPECT_EQ(lines[kHeadLines + 2],
            "By: Ann ( <a href=\"http://example.org:8080/ann\" target=\"_blank\">ann</a> )");
  context.service_scheme = "https";
  const PageLines secure = BuildPage(Timeline(Status("<text>hi</text>", Author())), context);
  EXPECT_EQ(secure[kHeadLines + 2],
            "By: Ann ( <a href=\"https://example.org:8080/ann\" target=\"_blank\">ann</a> )");
}

struct FailureCase {
  const char* label;
  std::string xml;
  std::string message;
  std::size_t lines_kept;
};

class StatusFailureTest : public ::testing::TestWithParam<FailureCase> {};

// The refresh tells a refused password from other failures by the message,
// and the lines of the statuses before the failing one are already there.
TEST_P(StatusFailureTest, StopsAtTheFirstMissingValue) {
  XmlDocument timeline;
  timeline.Load(GetParam().xml);
  PageLines lines;
  AppendHeadLines(lines, TestContext());
  try {
    AppendStatusLines(lines, timeline, TestContext());
    ADD_FAILURE() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(error.what(), GetParam().message);
  }
  EXPECT_EQ(lines.size(), GetParam().lines_kept);
}

const std::string kGoodStatus = Status("<text>fine</text>", Author());

INSTANTIATE_TEST_SUITE_P(
    Timelines, StatusFailureTest,
    ::testing::Values(
        FailureCase{"RefusalDocument", testing::kRefusalDocument, kNullConversionMessage,
                    kHeadLines},
        FailureCase{"MissingText", Timeline(kGoodStatus + Status("", Author())),
                    kNullConversionMessage, kHeadLines + kStatusLines},
        FailureCase{"EmptyText", Timeline(kGoodStatus + kGoodStatus + Status("<text/>", Author())),
                    kNullConversionMessage, kHeadLines + 2 * kStatusLines},
        FailureCase{"AuthorWithoutName",
                    Timeline(kGoodStatus + Status("<text>x</text>", Author(""))),
                    kNullConversionMessage, kHeadLines + kStatusLines},
        FailureCase{"NoStatusDate", Timeline("<status><text>x</text>" + Author() + "</status>"),
                    kNullConversionMessage, kHeadLines},
        FailureCase{"MissingAuthor", Timeline(kGoodStatus + Status("<text>x</text>", "")),
                    kMissingNodeMessage, kHeadLines + kStatusLines},
        FailureCase{"EmptyReply", "", kNoDocumentElementMessage, kHeadLines}),
    [](const auto& info) { return info.param.label; });

struct StatusHtmlCase {
  std::string text;
  std::string html;
};

class StatusHtmlTest : public ::testing::TestWithParam<StatusHtmlCase> {};

// Only what could start markup or a character reference is escaped, and line
// breaks get a "<br>"; the view reads every case back in its own test.
TEST_P(StatusHtmlTest, EscapesOnlyWhatHtmlWouldRead) {
  EXPECT_EQ(StatusTextAsHtml(GetParam().text), GetParam().html);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StatusHtmlTest,
    ::testing::Values(StatusHtmlCase{"a & b; c&d &#1 &Z x&", "a & b; c&amp;d &amp;#1 &amp;Z x&"},
                      StatusHtmlCase{"http://x/a&;", "http://x/a&;"},
                      StatusHtmlCase{"caf\xC3\xA9&\xC3\xA9", "caf\xC3\xA9&\xC3\xA9"},
                      StatusHtmlCase{"<p>x</p>", "<!---->&lt;p>x<!---->&lt;/p>"},
                      StatusHtmlCase{"\"it's\" > ", "\"it's\" > "},
                      StatusHtmlCase{"a\r\nb\nc\rd", "a<br>\r\nb<br>\nc<br>\rd"},
                      StatusHtmlCase{"\n\r\r\n", "<br>\n<br>\r<br>\r\n"},
                      StatusHtmlCase{"a  \tb ", "a  \tb "}));

struct ScriptStringCase {
  std::string text;
  std::string escaped;
};

class ScriptStringTest : public ::testing::TestWithParam<ScriptStringCase> {};

// Unreachable through the page (HTML escaping comes first), but the literal
// must be safe on its own.
TEST_P(ScriptStringTest, CannotEndTheLiteralOrTheScript) {
  EXPECT_EQ(EscapeScriptString(GetParam().text), GetParam().escaped);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ScriptStringTest,
    ::testing::Values(ScriptStringCase{"a\"b'c\\", "a\\\"b\\'c\\\\"},
                      ScriptStringCase{"</script>", "<\\/script>"},
                      ScriptStringCase{"<!-- <script>", "\\x3C!-- <script>"},
                      ScriptStringCase{std::string("\t\0\x7F", 3), "\\x09\\x00\\x7F"},
                      ScriptStringCase{"\xE2\x80\xA8\xE2\x80", "\\u2028\xE2\x80"},
                      ScriptStringCase{"caf\xC3\xA9", "caf\xC3\xA9"}));

struct EntityCase {
  std::string text;
  std::string decoded;
};

class ServiceEntityTest : public ::testing::TestWithParam<EntityCase> {};

TEST_P(ServiceEntityTest, DecodesOnlyWhatTheServiceWrites) {
  EXPECT_EQ(DecodeServiceEntities(GetParam().text), GetParam().decoded);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ServiceEntityTest,
    ::testing::Values(
        EntityCase{"&lt;&gt;&amp;&quot;&apos;&#39;&#x27;", "<>&\"'''"},
        EntityCase{"&amp;lt;", "&lt;"}, EntityCase{"&LT; &nbsp; &copy;", "&LT; &nbsp; &copy;"},
        EntityCase{"&#0; &#xD800; &#1114112; &#x110000;", "&#0; &#xD800; &#1114112; &#x110000;"},
        EntityCase{"&#; &#x; &; &lt &#12a;", "&#; &#x; &; &lt &#12a;"},
        EntityCase{"a & b; &#99999999999999999999;", "a & b; &#99999999999999999999;"},
        EntityCase{"&&lt;", "&<"}));

}  // namespace
}  // namespace plumwit
