// multipart/form-data bodies: the parser on its own, then posts that use it.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "server/multipart_form.h"
#include "support/service_fixture.h"

namespace plumwit::server::testing {
namespace {

constexpr const char* kType = "multipart/form-data; boundary=XyZ";

std::string Field(const std::string& name, const std::string& value) {
  return "--XyZ\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n" + value + "\r\n";
}

// Every byte value, as a binary upload would hold.
std::string AllBytes() {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  return bytes;
}

std::string FilePart() {
  return "--XyZ\r\nContent-Disposition: form-data; name=\"media\"; filename=\"a \\\"b\\\".png\"\r\n"
         "Content-Type: image/png\r\n\r\n" +
         AllBytes() + "\r\n";
}

TEST(MultipartFormTest, ReadsFieldsAndFilesWithPreambleEpilogueAndPadding) {
  const std::string body = "preamble, ignored\r\n" + Field("status", "two\r\nlines") +
                           Field("empty", "") + FilePart() + "--XyZ--  \r\nepilogue --XyZ\r\n";
  const MultipartForm form = MultipartForm::Parse(kType, body);
  ASSERT_EQ(form.parts().size(), 3u);
  EXPECT_EQ(form.parts()[0].name, "status");
  EXPECT_EQ(form.parts()[0].content, "two\r\nlines");
  EXPECT_FALSE(form.parts()[0].filename);
  EXPECT_EQ(form.parts()[1].content, "");
  EXPECT_EQ(form.parts()[2].name, "media");
  EXPECT_EQ(form.parts()[2].filename, "a \"b\".png");
  EXPECT_EQ(form.parts()[2].content_type, "image/png");
  EXPECT_EQ(form.parts()[2].content, AllBytes());

  // Quoted boundary, other letter case, padding after a delimiter, no parts.
  EXPECT_EQ(MultipartForm::Parse("Multipart/Form-Data; charset=x; boundary=\"a b:c\"",
                                 "--a b:c \t\r\ncontent-disposition: FORM-DATA; name=x\r\n\r\n1"
                                 "\r\n--a b:c--")
                .parts()
                .at(0)
                .content,
            "1");
  EXPECT_TRUE(MultipartForm::Parse(kType, "--XyZ--").parts().empty());
}

TEST(MultipartFormTest, MalformedBodiesAreRefusedWithAReason) {
  struct Case {
    const char* label;
    std::string content_type;
    std::string body;
  };
  const std::string good = Field("status", "hi") + "--XyZ--\r\n";
  const Case cases[] = {
      {"no boundary", "multipart/form-data", good},
      {"empty boundary", "multipart/form-data; boundary=\"\"", good},
      {"boundary too long", "multipart/form-data; boundary=" + std::string(71, 'b'), good},
      {"bad boundary character", "multipart/form-data; boundary=a\"b", good},
      {"unclosed quoted boundary", "multipart/form-data; boundary=\"XyZ", good},
      {"other boundary in the body", "multipart/form-data; boundary=Other", good},
      {"no close delimiter", kType, Field("status", "hi")},
      {"empty body", kType, ""},
      {"text after a delimiter", kType, "--XyZ junk\r\n" + good},
      {"bare LF lines", kType, "--XyZ\nContent-Disposition: form-data; name=a\n\nx\n--XyZ--"},
      {"headers never end", kType, "--XyZ\r\nContent-Disposition: form-data; name=a\r\n--XyZ--"},
      {"no disposition", kType, "--XyZ\r\nContent-Type: text/plain\r\n\r\nx\r\n--XyZ--"},
      {"no headers at all", kType, "--XyZ\r\n\r\nx\r\n--XyZ--"},
      {"not form-data", kType,
       "--XyZ\r\nContent-Disposition: attachment; name=a\r\n\r\nx\r\n--XyZ--"},
      {"no name", kType, "--XyZ\r\nContent-Disposition: form-data\r\n\r\nx\r\n--XyZ--"},
      {"unclosed quoted name", kType,
       "--XyZ\r\nContent-Disposition: form-data; name=\"a\r\n\r\nx\r\n--XyZ--"},
      {"header without colon", kType,
       "--XyZ\r\nContent-Disposition: form-data; name=a\r\nnonsense\r\n\r\nx\r\n--XyZ--"},
      {"parameter without value", kType,
       "--XyZ\r\nContent-Disposition: form-data; name\r\n\r\nx\r\n--XyZ--"},
      {"two dispositions", kType,
       "--XyZ\r\nContent-Disposition: form-data; name=a\r\nContent-Disposition: form-data; "
       "name=b\r\n\r\nx\r\n--XyZ--"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_THROW(MultipartForm::Parse(c.content_type, c.body), MultipartError);
  }
  std::string many;
  for (std::size_t i = 0; i <= MultipartForm::kMaxParts; ++i) many += Field("f", "v");
  EXPECT_THROW(MultipartForm::Parse(kType, many + "--XyZ--"), MultipartError);
}

std::string MultipartPost(const std::string& target, const std::string& content_type,
                          const std::string& body, const std::string& authorization) {
  return "POST " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: " + content_type +
         "\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nAuthorization: " + authorization + "\r\n\r\n" + body;
}

using MultipartPostTest = ServiceTest;

TEST_F(MultipartPostTest, StatusSourceAndReplyComeFromTheBodyAndFilesAreIgnored) {
  const std::string body = Field("status", "Posted as multipart ☕ & more") +
                           Field("source", "bti") + Field("in_reply_to_status_id", "25") +
                           FilePart() + "--XyZ--\r\n";
  const HttpReply reply =
      Exchange(MultipartPost("/api/statuses/update.json", kType, body, DemoAuth()));
  ASSERT_EQ(reply.status, 200) << reply.body;
  const nlohmann::json status = nlohmann::json::parse(reply.body);
  EXPECT_EQ(status["text"], "Posted as multipart ☕ & more");
  EXPECT_EQ(status["source"], "bti");
  EXPECT_EQ(status["in_reply_to_status_id"], 25);
  EXPECT_EQ(status["in_reply_to_screen_name"], "tomasz");

  // The body's fields come before the query's.
  const HttpReply both =
      Exchange(MultipartPost("/statuses/update.xml?status=from+query", kType,
                             Field("status", "from body") + "--XyZ--", DemoAuth()));
  EXPECT_STREQ(ParseXml(both.body).child("status").child_value("text"), "from body");
}

TEST_F(MultipartPostTest, MalformedBodyOrTextThatIsNotUtf8Is400AndNothingIsPosted) {
  struct Case {
    const char* label;
    std::string content_type;
    std::string body;
  };
  const Case cases[] = {
      {"wrong boundary", "multipart/form-data; boundary=Other", Field("status", "x") + "--XyZ--"},
      {"no boundary", "multipart/form-data", Field("status", "x") + "--XyZ--"},
      {"not closed", kType, Field("status", "x")},
      {"text field not UTF-8", kType, Field("status", "\xC3\x28") + "--XyZ--"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const HttpReply reply =
        Exchange(MultipartPost("/statuses/update.xml", c.content_type, c.body, DemoAuth()));
    EXPECT_EQ(reply.status_line, "HTTP/1.1 400 Bad Request");
    const std::string error = ParseXml(reply.body).child("hash").child_value("error");
    EXPECT_FALSE(error.empty());
  }
  EXPECT_STREQ(ParseXml(Get("/users/show/demo").body).child("user").child_value("statuses_count"),
               "4");
  // The body limit holds for multipart bodies as for any other.
  const std::string large =
      Field("status", "x") + Field("pad", std::string(70 * 1024, 'p')) + "--XyZ--";
  EXPECT_EQ(Exchange(MultipartPost("/statuses/update.xml", kType, large, DemoAuth())).status, 413);
}

}  // namespace
}  // namespace plumwit::server::testing
