#include <gtest/gtest.h>

#include "core/service/http_client.h"
#include "core/service/url_parts.h"

namespace plumwit {
namespace {

struct SplitCase {
  const char* url;
  const char* username;
  const char* password;
  const char* host;
  int port;
  const char* path;
  const char* document;
  const char* fragment;
  const char* query;
  const char* target;
};

class SplitUrlTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitUrlTest, SplitsLikeTheClientSendsIt) {
  const SplitCase& expected = GetParam();
  const UrlParts parts = SplitUrl(expected.url);
  EXPECT_EQ(parts.username, expected.username);
  EXPECT_EQ(parts.password, expected.password);
  EXPECT_EQ(parts.host, expected.host);
  EXPECT_EQ(parts.port, expected.port);
  EXPECT_EQ(parts.path, expected.path);
  EXPECT_EQ(parts.document, expected.document);
  EXPECT_EQ(parts.fragment, expected.fragment);
  EXPECT_EQ(parts.query, expected.query);
  EXPECT_EQ(parts.Target(), expected.target);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitUrlTest,
    testing::Values(
        SplitCase{"http://127.0.0.1:8080/users/show/bob", "", "", "127.0.0.1", 8080, "/users/show/",
                  "bob", "", "", "/users/show/bob"},
        SplitCase{"http://example.org/statuses/home_timeline/bob.xml?count=20", "", "",
                  "example.org", 80, "/statuses/home_timeline/", "bob.xml", "", "count=20",
                  "/statuses/home_timeline/bob.xml?count=20"},
        // A host with a path prefix, as the service host may be.
        SplitCase{"http://example.org:8080/api/users/show/x", "", "", "example.org", 8080,
                  "/api/users/show/", "x", "", "", "/api/users/show/x"},
        // Backslashes become slashes everywhere, the query included.
        SplitCase{"http://h/a\\b?s=c\\d", "", "", "h", 80, "/a/", "b", "", "s=c/d", "/a/b?s=c/d"},
        SplitCase{"http://bob:pw@h:81/p", "bob", "pw", "h", 81, "/", "p", "", "", "/p"},
        // The user information ends at the first "@": the rest is the host.
        SplitCase{"http://u:p@ss@h/x", "u", "p", "ss@h", 80, "/", "x", "", "", "/x"},
        // The query is split off first, so a "?" in user information starts it.
        SplitCase{"http://bob@ho?st/x", "bob", "", "ho", 80, "/", "", "", "st/x", "/?st/x"},
        // No user name: the password goes too.
        SplitCase{"http://:pw@h/", "", "", "h", 80, "/", "", "", "", "/"},
        // Without "?", the first "=" starts the query.
        SplitCase{"http://h/a/b=c", "", "", "h", 80, "/a/", "b", "", "c", "/a/b?c"},
        // A fragment is cut from the document and not sent; in the query it stays.
        SplitCase{"http://h/a/doc#frag?q", "", "", "h", 80, "/a/", "doc", "frag", "q", "/a/doc?q"},
        SplitCase{"http://h/x?a#b", "", "", "h", 80, "/", "x", "", "a#b", "/x?a#b"},
        SplitCase{"http://h", "", "", "h", 80, "/", "", "", "", "/"},
        SplitCase{"http://h:/", "", "", "h", 80, "/", "", "", "", "/"},
        SplitCase{"h/x", "", "", "h", 80, "/", "x", "", "", "/x"}));

TEST(SplitUrl, HostHeaderNamesThePortOnlyWhenNotTheSchemesDefault) {
  struct {
    const char* url;
    int port;
    const char* host_header;
  } const cases[] = {
      {"http://h/", 80, "h"},
      {"http://h:80/", 80, "h"},
      {"http://h:8080/", 8080, "h:8080"},
      {"http://h:443/", 443, "h:443"},
      {"https://h/", 443, "h"},
      {"HTTPS://h:443/", 443, "h"},
      {"https://h:80/", 80, "h:80"},
      {"https://h:8443/", 8443, "h:8443"},
  };
  for (const auto& expected : cases) {
    const UrlParts parts = SplitUrl(expected.url);
    EXPECT_EQ(parts.port, expected.port) << expected.url;
    EXPECT_EQ(parts.HostHeader(), expected.host_header) << expected.url;
  }
}

TEST(SplitUrl, OnlyHttpsInAnyCaseIsSecure) {
  EXPECT_TRUE(SplitUrl("https://h/").IsSecure());
  EXPECT_TRUE(SplitUrl("HttpS://h/").IsSecure());
  EXPECT_FALSE(SplitUrl("http://h/").IsSecure());
  EXPECT_FALSE(SplitUrl("h/x").IsSecure());
}

TEST(SplitUrl, RejectsPortsThatAreNotPortNumbers) {
  for (const char* url :
       {"http://h:abc/", "http://h:0/", "http://h:65536/", "http://h:-1/", "http://h:123456/"}) {
    SCOPED_TRACE(url);
    EXPECT_THROW(SplitUrl(url), HttpRequestError);
  }
}

}  // namespace
}  // namespace plumwit
