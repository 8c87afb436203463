#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "core/service/cookie_date.h"
#include "core/service/cookie_store.h"

namespace plumwit {
namespace {

using Clock = std::chrono::system_clock;
using std::chrono::hours;
using std::chrono::seconds;

// 2021-06-09 10:18:14 UTC.
const Clock::time_point kJune9 = Clock::time_point(seconds(1623233894));

TEST(CookieStore, SendsCookiesBackToTheHostThatSetThem) {
  CookieStore store;
  store.Record("Example.org", "/users/show/bob", "sid=abc; Path=/; HttpOnly");
  store.Record("example.org", "/", "lang=en");
  EXPECT_EQ(store.HeaderFor("example.org", "/statuses/x"), "sid=abc; lang=en");
  EXPECT_EQ(store.HeaderFor("EXAMPLE.ORG", "/"), "sid=abc; lang=en");
  EXPECT_EQ(store.HeaderFor("other.org", "/"), "");
  // A cookie without Domain is for its host only, not for the host's subdomains.
  EXPECT_EQ(store.HeaderFor("www.example.org", "/"), "");
}

TEST(CookieStore, DomainCookiesReachSubdomainsButOnlyFromAMatchingHost) {
  CookieStore store;
  store.Record("api.example.org", "/", "a=1; Domain=.example.org");
  store.Record("api.example.org", "/", "b=2; Domain=elsewhere.org");
  store.Record("127.0.0.1", "/", "c=3; Domain=0.0.1");
  EXPECT_EQ(store.HeaderFor("example.org", "/"), "a=1");
  EXPECT_EQ(store.HeaderFor("www.example.org", "/"), "a=1");
  EXPECT_EQ(store.HeaderFor("badexample.org", "/"), "");
  EXPECT_EQ(store.HeaderFor("elsewhere.org", "/"), "");
  EXPECT_EQ(store.Size(), 1u);
}

TEST(CookieStore, MatchesPathsByWholeSegmentsAndSendsLongerPathsFirst) {
  CookieStore store;
  store.Record("h", "/a/b/doc", "folder=1");  // default path: /a/b
  store.Record("h", "/", "root=1; Path=/");
  EXPECT_EQ(store.HeaderFor("h", "/a/b"), "folder=1; root=1");
  EXPECT_EQ(store.HeaderFor("h", "/a/b/c/d"), "folder=1; root=1");
  EXPECT_EQ(store.HeaderFor("h", "/a/bc"), "root=1");
  EXPECT_EQ(store.HeaderFor("h", "/a"), "root=1");
}

TEST(CookieStore, ReplacesACookieOfTheSameNameAndDeletesExpiredOnes) {
  CookieStore store;
  store.Record("h", "/", "a=1; Path=/", kJune9);
  store.Record("h", "/", "b=2; Path=/", kJune9);
  store.Record("h", "/", "a=3; Path=/", kJune9);
  EXPECT_EQ(store.HeaderFor("h", "/", kJune9), "a=3; b=2");
  store.Record("h", "/", "a=; Path=/; Max-Age=0", kJune9);
  store.Record("h", "/", "b=; Path=/; Expires=Thu, 01 Jan 1970 00:00:00 GMT", kJune9);
  EXPECT_EQ(store.HeaderFor("h", "/", kJune9), "");
  EXPECT_EQ(store.Size(), 0u);
}

TEST(CookieStore, StopsSendingACookieWhenItExpires) {
  CookieStore store;
  store.Record("h", "/", "short=1; Max-Age=60", kJune9);
  store.Record("h", "/", "dated=1; Expires=Wed, 09 Jun 2021 12:00:00 GMT", kJune9);
  // Max-Age wins over Expires.
  store.Record("h", "/", "both=1; Expires=Wed, 09 Jun 2021 10:00:00 GMT; Max-Age=3600", kJune9);
  EXPECT_EQ(store.HeaderFor("h", "/", kJune9), "short=1; dated=1; both=1");
  EXPECT_EQ(store.HeaderFor("h", "/", kJune9 + seconds(61)), "dated=1; both=1");
  EXPECT_EQ(store.HeaderFor("h", "/", kJune9 + hours(2)), "");
}

TEST(CookieStore, IgnoresCookiesItCannotOrMustNotSend) {
  CookieStore store;
  for (const char* value : {"noequals", "=nameless", "s=1; Secure", "x=a\x01z", "y=a\rb", ""}) {
    store.Record("h", "/", value);
  }
  store.Record("h", "/", "big=" + std::string(CookieStore::kMaxCookieBytes, 'v'));
  EXPECT_EQ(store.Size(), 0u);
  EXPECT_EQ(store.HeaderFor("h", "/"), "");
}

TEST(CookieStore, KeepsAtMostItsLimitDroppingTheOldest) {
  CookieStore store;
  for (std::size_t i = 0; i <= CookieStore::kMaxCookies; ++i) {
    store.Record("h", "/", "c" + std::to_string(i) + "=v");
  }
  EXPECT_EQ(store.Size(), CookieStore::kMaxCookies);
  const std::string header = store.HeaderFor("h", "/");
  EXPECT_EQ(header.find("c0=v"), std::string::npos);
  EXPECT_EQ(header.rfind("c1=v; ", 0), 0u);
}

TEST(ParseCookieDate, ReadsTheUsualFormatsAsUtc) {
  for (const char* text : {"Wed, 09 Jun 2021 10:18:14 GMT", "Wednesday, 09-Jun-21 10:18:14 GMT",
                           "Wed Jun  9 10:18:14 2021", "9 june 2021 10:18:14"}) {
    SCOPED_TRACE(text);
    const auto date = ParseCookieDate(text);
    ASSERT_TRUE(date.has_value());
    EXPECT_EQ(*date, kJune9);
  }
  EXPECT_EQ(ParseCookieDate("Sun, 01 Jan 1999 00:00:00 GMT"),
            ParseCookieDate("Sun, 01-Jan-99 00:00:00 GMT"));
}

TEST(ParseCookieDate, RejectsTextWithoutAValidDate) {
  for (const char* text :
       {"", "garbage", "Wed, 32 Jun 2021 10:18:14 GMT", "Wed, 09 Jun 2021 24:00:00 GMT",
        "Wed, 09 Jun 2021", "09 Jun 10:18:14"}) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(ParseCookieDate(text).has_value());
  }
}

TEST(ParseCookieDate, KeepsFarDatesInsideTheClockRange) {
  const auto far = ParseCookieDate("Fri, 31 Dec 9999 23:59:59 GMT");
  ASSERT_TRUE(far.has_value());
  EXPECT_GT(*far, kJune9 + hours(24 * 365 * 100));
  const auto early = ParseCookieDate("Mon, 01 Jan 1601 00:00:00 GMT");
  ASSERT_TRUE(early.has_value());
  EXPECT_LT(*early, kJune9);
}

}  // namespace
}  // namespace plumwit
