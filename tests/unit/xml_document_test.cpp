#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/service/xml_document.h"
#include "support/service_documents.h"

namespace plumwit {
namespace {

XmlNode LoadedRoot(XmlDocument& document, const std::string& text) {
  document.Load(text);
  return document.DocumentElement();
}

std::string Repeated(const std::string& text, int times) {
  std::string repeated;
  for (int i = 0; i < times; ++i) repeated += text;
  return repeated;
}

// Latin-1 text as UTF-16LE, for the replies of servers that send that.
std::string Utf16Le(const std::string& latin1) {
  std::string wide;
  for (const char c : latin1) {
    wide += c;
    wide += '\0';
  }
  return wide;
}

std::string ErrorText(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& error) {
    return error.what();
  }
  return "(no error)";
}

TEST(XmlDocument, ReadsTheUserRecordTheServiceSends) {
  XmlDocument document;
  const XmlNode user = LoadedRoot(document, testing::kUserRecord);

  ASSERT_TRUE(document.Active());
  EXPECT_EQ(user.Name(), "user");
  // Whitespace between elements is dropped: only the 13 elements count.
  ASSERT_EQ(user.ChildCount(), 13u);
  EXPECT_EQ(user.Child(0).Name(), "id");
  EXPECT_EQ(user.Child(12).Name(), "status");
  EXPECT_EQ(ChildText(user, "location"), "Caf\xC3\xA9 de Paris");
  // The first direct child of that name, not the nested status's one.
  EXPECT_EQ(ChildText(user, "name"), "Ann Example");
  EXPECT_EQ(ChildText(user, "created_at"), "Mon Jan 05 10:00:00 +0000 2009");
  EXPECT_EQ(ChildText(FindChild(user, "status"), "text"), "latest &lt;news&gt;");
  EXPECT_TRUE(FindChild(user, "Name").IsNull());
  EXPECT_TRUE(FindChild(user, "nam").IsNull());
}

TEST(XmlDocument, MissingAndEmptyChildrenFailTheConversion) {
  XmlDocument document;
  const XmlNode user = LoadedRoot(document, testing::kUserRecord);
  for (const char* name : {"description", "url", "no_such_child"}) {
    EXPECT_EQ(ErrorText([&] { ChildText(user, name); }), kNullConversionMessage) << name;
  }
}

// A status without an author: reading from the missing node must fail with
// an error the timeline does not take for a refused password.
TEST(XmlDocument, ReadingThroughANullNodeIsAnotherError) {
  XmlDocument document;
  const XmlNode user = LoadedRoot(document, testing::kUserRecord);
  const XmlNode author = FindChild(user, "user");
  ASSERT_TRUE(author.IsNull());
  EXPECT_EQ(ErrorText([&] { ChildText(author, "name"); }), kMissingNodeMessage);
  EXPECT_EQ(ErrorText([&] { NodeText(author); }), kMissingNodeMessage);
  EXPECT_EQ(ErrorText([&] { author.ChildCount(); }), kMissingNodeMessage);
  EXPECT_STRNE(kMissingNodeMessage, kNullConversionMessage);
}

TEST(XmlDocument, ChildIndexOutOfRangeThrows) {
  XmlDocument document;
  const XmlNode root = LoadedRoot(document, "<a><b/></a>");
  EXPECT_EQ(root.Child(0).Name(), "b");
  EXPECT_THROW(root.Child(1), Error);
}

struct TextCase {
  const char* xml;
  std::optional<std::string> text;  // nullopt: no value
};

class NodeTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(NodeTextTest, GivesTheSingleTextOrNoValue) {
  XmlDocument document;
  EXPECT_EQ(NodeText(LoadedRoot(document, GetParam().xml)), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Elements, NodeTextTest,
    ::testing::Values(TextCase{"<a>plain</a>", "plain"},
                      TextCase{"<a>AT&amp;T &lt;b&gt; &#233; &#x263A;</a>",
                               "AT&T <b> \xC3\xA9 \xE2\x98\xBA"},
                      TextCase{"<a><![CDATA[<b>bold</b> & more]]></a>", "<b>bold</b> & more"},
                      TextCase{"<a>first\r\nsecond\rthird</a>", "first\nsecond\nthird"},
                      TextCase{"<a/>", std::nullopt}, TextCase{"<a></a>", std::nullopt},
                      TextCase{"<a attribute=\"1\"/>", std::nullopt},
                      TextCase{"<a><![CDATA[]]></a>", std::nullopt},
                      TextCase{"<a>   </a>", std::nullopt},
                      // Comments are not kept, so they neither count nor split a text.
                      TextCase{"<a><!-- note -->text</a>", "text"},
                      // One bad byte costs one character, not the document.
                      TextCase{"<a>bad \xFF byte \xC3 and \xED\xA0\x80 end</a>",
                               "bad \xEF\xBF\xBD byte \xEF\xBF\xBD and "
                               "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD end"}));

TEST(XmlDocument, MoreThanOneTextNodeIsAnError) {
  for (const char* xml :
       {"<a><b>x</b></a>", "<a>x<b/></a>", "<a>x<![CDATA[y]]></a>", "<a><b/><b/></a>"}) {
    XmlDocument document;
    const XmlNode root = LoadedRoot(document, xml);
    EXPECT_EQ(ErrorText([&] { NodeText(root); }), kNotSingleTextNodeMessage) << xml;
    EXPECT_EQ(
        ErrorText([&] { ChildText(LoadedRoot(document, std::string("<r>") + xml + "</r>"), "a"); }),
        kNotSingleTextNodeMessage)
        << xml;
  }
}

TEST(XmlDocument, TextNodesAreChildrenWithTheirOwnNames) {
  XmlDocument document;
  const XmlNode root = LoadedRoot(document, "<a>text<b/><![CDATA[data]]></a>");
  ASSERT_EQ(root.ChildCount(), 3u);
  EXPECT_EQ(root.Child(0).Name(), "#text");
  EXPECT_EQ(NodeText(root.Child(0)), "text");
  EXPECT_EQ(root.Child(2).Name(), "#cdata-section");
}

// A comment between two statuses must not become a status without text.
TEST(XmlDocument, CommentsAndProcessingInstructionsAreNotNodes) {
  XmlDocument document;
  const XmlNode root =
      LoadedRoot(document,
                 "<!DOCTYPE statuses><!-- top --><statuses><status/><!-- c --><?pi x?>"
                 "<status/></statuses><!-- end -->");
  EXPECT_EQ(root.Name(), "statuses");
  EXPECT_EQ(root.ChildCount(), 2u);
}

struct EncodingCase {
  const char* label;
  std::string xml;
};

class DeclaredEncodingTest : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(DeclaredEncodingTest, TextComesOutAsUtf8) {
  XmlDocument document;
  EXPECT_EQ(ChildText(LoadedRoot(document, GetParam().xml), "name"), "Ren\xC3\xA9");
}

INSTANTIATE_TEST_SUITE_P(
    Declarations, DeclaredEncodingTest,
    ::testing::Values(EncodingCase{"Latin1",
                                   "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>"
                                   "<user><name>Ren\xE9</name></user>"},
                      EncodingCase{"Latin1Alias",
                                   "<?xml version='1.0' encoding='latin1'?>"
                                   "<user><name>Ren\xE9</name></user>"},
                      EncodingCase{"Utf8Declared",
                                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                                   "<user><name>Ren\xC3\xA9</name></user>"},
                      EncodingCase{"Utf8ByDefault", "<user><name>Ren\xC3\xA9</name></user>"},
                      EncodingCase{"Utf8WithByteOrderMark",
                                   "\xEF\xBB\xBF<user><name>Ren\xC3\xA9</name></user>"},
                      EncodingCase{"Windows1252",
                                   "<?xml version=\"1.0\" encoding=\"windows-1252\"?>"
                                   "<user><name>Ren\xE9</name></user>"},
                      EncodingCase{"Latin9",
                                   "<?xml version=\"1.0\" encoding=\"ISO-8859-15\"?>"
                                   "<user><name>Ren\xE9</name></user>"},
                      EncodingCase{"AsciiWithReference",
                                   "<?xml version=\"1.0\" encoding=\"US-ASCII\"?>"
                                   "<user><name>Ren&#xE9;</name></user>"},
                      EncodingCase{"Utf16WithByteOrderMark",
                                   "\xFF\xFE" + Utf16Le("<user><name>Ren\xE9</name></user>")},
                      // The bytes are plainly 8-bit, whatever the declaration says.
                      EncodingCase{"Utf16DeclaredButUtf8",
                                   "<?xml version=\"1.0\" encoding=\"UTF-16\"?>"
                                   "<user><name>Ren\xC3\xA9</name></user>"}),
    [](const auto& info) { return info.param.label; });

// Bytes that windows-1252 leaves undefined, and US-ASCII's upper half, are
// not dropped silently: each shows as a replacement character.
TEST(XmlDocument, BytesTheEncodingLacksBecomeReplacementCharacters) {
  XmlDocument document;
  EXPECT_EQ(ChildText(LoadedRoot(document,
                                 "<?xml version='1.0' encoding='US-ASCII'?><u><n>a\xE9"
                                 "b</n></u>"),
                      "n"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(
      ChildText(LoadedRoot(document,
                           "<?xml version='1.0' encoding='windows-1252'?><u><n>\x80\x81</n></u>"),
                "n"),
      "\xE2\x82\xAC\xEF\xBF\xBD");
}

TEST(XmlDocument, LineEndsAreNormalisedToCrLf) {
  XmlDocument document;
  document.SetXml("<a>\n<b/>\r<c/>\r\n</a>\n\n");
  EXPECT_EQ(document.Xml(), "<a>\r\n<b/>\r\n<c/>\r\n</a>\r\n\r\n");
  EXPECT_FALSE(document.Active());
}

TEST(XmlDocument, SwitchingOffDiscardsAndSwitchingOnParsesAgain) {
  XmlDocument document;
  document.Load("<a><b/></a>");
  document.SetActive(false);
  EXPECT_FALSE(document.Active());
  EXPECT_EQ(ErrorText([&] { document.DocumentElement(); }), kDocumentNotActiveMessage);

  document.SetXml("<c/>");
  document.SetActive(true);
  EXPECT_EQ(document.DocumentElement().Name(), "c");
}

// An empty reply switches on; the failure comes with the first use, in
// words no caller takes for a refused password or a malformed value.
TEST(XmlDocument, EmptyReplyHasNoDocumentElement) {
  XmlDocument document;
  document.Load("");
  EXPECT_TRUE(document.Active());
  const std::string message = ErrorText([&] { document.DocumentElement(); });
  EXPECT_EQ(message, kNoDocumentElementMessage);
  EXPECT_NE(message, kNullConversionMessage);
  EXPECT_NE(message, kNotSingleTextNodeMessage);
}

struct MalformedCase {
  const char* label;
  std::string xml;
  std::string message;
};

class MalformedReplyTest : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedReplyTest, ReportsReasonLineAndItsStartAndStaysOff) {
  XmlDocument document;
  document.Load("<old/>");
  EXPECT_EQ(ErrorText([&] { document.Load(GetParam().xml); }), GetParam().message);
  EXPECT_FALSE(document.Active());
  EXPECT_EQ(ErrorText([&] { document.DocumentElement(); }), kDocumentNotActiveMessage);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, MalformedReplyTest,
    ::testing::Values(
        MalformedCase{"MismatchedTag", "<user>\n  <name>Ann</nam>\n</user>",
                      "Start-end tags mismatch\r\nLine: 2\r\n  <name>Ann</nam>"},
        MalformedCase{"CutShort", "<statuses>\r\n<status>\r\n<text>hel",
                      "Start-end tags mismatch\r\nLine: 3\r\n<text>hel"},
        MalformedCase{
            "LongLineKeepsFortyCharacters",
            "<a>\n<b>0123456789012345678901234567890123456789END</c></a>",
            "Start-end tags mismatch\r\nLine: 2\r\n<b>0123456789012345678901234567890123456"},
        MalformedCase{"FortyCharactersNotBytes",
                      "<a>\n<b>\xC3\xA9\xC3\xA9\xC3\xA9" + std::string(34, 'x') + "</c></a>",
                      "Start-end tags mismatch\r\nLine: 2\r\n<b>\xC3\xA9\xC3\xA9\xC3\xA9" +
                          std::string(34, 'x')},
        // The parser counts the decoded text: ten two-byte characters
        // before the fault would put it on the next line if counted raw.
        MalformedCase{
            "Latin1LineShownAsUtf8",
            "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n<a>\n<b>" + std::string(10, '\xE9') +
                "</c>\n<d>after</d></a>",
            "Start-end tags mismatch\r\nLine: 3\r\n<b>" + Repeated("\xC3\xA9", 10) + "</c>"},
        MalformedCase{"BadAttribute", "<a x=1/>",
                      "Error parsing element attribute\r\nLine: 1\r\n<a x=1/>"},
        MalformedCase{"SecondDocumentElement", "<a/>\n<b/>",
                      "More than one document element found\r\nLine: 2\r\n<b/>"},
        MalformedCase{"BlanksOnly", "  \n", "No document element found\r\nLine: 2\r\n"},
        MalformedCase{"UndefinedEntity", "<a>\n<b>caf&eacute; &nbsp;</b></a>",
                      "Undefined entity\r\nLine: 2\r\n<b>caf&eacute; &nbsp;</b></a>"},
        MalformedCase{"BareAmpersand", "<a>AT&T</a>",
                      "Not well-formed (invalid token)\r\nLine: 1\r\n<a>AT&T</a>"},
        MalformedCase{"ControlCharacter", "<a>\n<b>x\x01y</b></a>",
                      "Not well-formed (invalid token)\r\nLine: 2\r\n<b>x\x01y</b></a>"},
        MalformedCase{"ReferenceToAControlCharacter", "<a>&#1;</a>",
                      "Reference to invalid character number\r\nLine: 1\r\n<a>&#1;</a>"},
        MalformedCase{"DuplicatedAttribute", "<a>\n<b c=\"1\" c=\"2\"/></a>",
                      "Duplicate attribute\r\nLine: 2\r\n<b c=\"1\" c=\"2\"/></a>"},
        MalformedCase{"TextAfterTheDocumentElement", "<a/>\ntrailing",
                      "Junk after document element\r\nLine: 2\r\ntrailing"},
        MalformedCase{"UnknownEncoding",
                      "<?xml version=\"1.0\" encoding=\"x-no-such-encoding\"?>\n<a/>",
                      "Unsupported encoding: x-no-such-encoding\r\nLine: 1\r\n"
                      "<?xml version=\"1.0\" encoding=\"x-no-such-"},
        MalformedCase{"EncodingNameThatIsNoName",
                      "<?xml version=\"1.0\" encoding=\"../../x\"?><a/>",
                      "Unsupported encoding: ../../x\r\nLine: 1\r\n"
                      "<?xml version=\"1.0\" encoding=\"../../x\"?>"},
        MalformedCase{"EncodingNameWithABadByte", "<?xml version=\"1.0\" encoding=\"x\xFF\"?><a/>",
                      "Unsupported encoding: x\xEF\xBF\xBD\r\nLine: 1\r\n"
                      "<?xml version=\"1.0\" encoding=\"x\xEF\xBF\xBD\"?><a/>"},
        MalformedCase{"HtmlPage", "<html><body>Over capacity<br></body></html>",
                      "Start-end tags mismatch\r\nLine: 1\r\n"
                      "<html><body>Over capacity<br></body></ht"}),
    [](const auto& info) { return info.param.label; });

}  // namespace
}  // namespace plumwit
