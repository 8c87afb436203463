#include <gtest/gtest.h>

#include <string>

#include "core/build_config.h"
#include "core/service/endpoints.h"

namespace plumwit {
namespace {

struct EncodingCase {
  std::string value;
  std::string encoded;
};

class PercentEncodeTest : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(PercentEncodeTest, EncodesEveryByteButTheUnreservedOnes) {
  EXPECT_EQ(PercentEncode(GetParam().value), GetParam().encoded);
}

INSTANTIATE_TEST_SUITE_P(
    Values, PercentEncodeTest,
    ::testing::Values(EncodingCase{"", ""}, EncodingCase{"AZaz09-._~", "AZaz09-._~"},
                      EncodingCase{"two words", "two%20words"},
                      EncodingCase{"a&b=c#d+e%f", "a%26b%3Dc%23d%2Be%25f"},
                      EncodingCase{"back\\slash/?@:", "back%5Cslash%2F%3F%40%3A"},
                      EncodingCase{"line\r\nbreak", "line%0D%0Abreak"},
                      EncodingCase{"caf\xC3\xA9", "caf%C3%A9"},
                      EncodingCase{std::string("nul\0byte", 8), "nul%00byte"},
                      EncodingCase{"\xFF", "%FF"}));

constexpr const char* kHost = "example.org:8080/api";

TEST(ServiceUrls, UserNamesAreOnePathSegment) {
  EXPECT_EQ(UserRecordUrl("ann", kHost), "http://example.org:8080/api/users/show/ann");
  EXPECT_EQ(UserRecordUrl("ann smith/../x?y", kHost),
            "http://example.org:8080/api/users/show/ann%20smith%2F..%2Fx%3Fy");
  EXPECT_EQ(HomeTimelineUrl("ann smith", kHost),
            "http://example.org:8080/api/statuses/home_timeline/ann%20smith.xml?count=20");
}

TEST(ServiceUrls, DefaultToTheBuiltInServiceHost) {
  const std::string host = build::kServiceHost;
  EXPECT_EQ(UserRecordUrl("ann"), "http://" + host + "/users/show/ann");
  EXPECT_EQ(HomeTimelineUrl("ann"), "http://" + host + "/statuses/home_timeline/ann.xml?count=20");
  EXPECT_EQ(StatusUpdateUrl("hi"), "http://" + host + "/statuses/update.xml?status=hi");
}

// The status text reaches the service byte for byte: nothing in it can end
// the query value, start a fragment or break the request line.
TEST(ServiceUrls, StatusTextKeepsEveryCharacter) {
  const std::string url = StatusUpdateUrl("Tom & Jerry = #1 +100% \\o/\r\n@ann", kHost);
  EXPECT_EQ(url,
            "http://example.org:8080/api/statuses/update.xml?status="
            "Tom%20%26%20Jerry%20%3D%20%231%20%2B100%25%20%5Co%2F%0D%0A%40ann");
}

// The credentials travel in the Authorization header only; the URL has no
// user information for a password holding "@" or "/" to corrupt.
TEST(ServiceUrls, StatusUpdateCarriesNoUserInformation) {
  const std::string url = StatusUpdateUrl("hi", kHost);
  EXPECT_EQ(url.rfind("http://example.org:8080/api/", 0), 0u);
  EXPECT_EQ(url.find('@'), std::string::npos);
}

TEST(ServiceUrls, ProfileUpdateSendsAllFivePairsInOrder) {
  ProfileFields fields;
  fields.name = "Ann Example";
  fields.screen_name = "ann";
  fields.location = "";
  fields.description = "cats & dogs = 100%";
  fields.url = "http://ann.example/?a=1#top";
  EXPECT_EQ(ProfileUpdateUrl(fields, kHost),
            "http://example.org:8080/api/account/update_profile.xml"
            "?name=Ann%20Example&screen_name=ann&location="
            "&description=cats%20%26%20dogs%20%3D%20100%25"
            "&url=http%3A%2F%2Fann.example%2F%3Fa%3D1%23top");

  EXPECT_EQ(ProfileUpdateUrl(ProfileFields{}, kHost),
            "http://example.org:8080/api/account/update_profile.xml"
            "?name=&screen_name=&location=&description=&url=");
}

// GNU social and Friendica: the record by query, the timeline of the
// credentials; posting and the profile as in the classic interface. The
// scheme leads every URL.
TEST(ServiceUrls, StatusNetDialectOverHttps) {
  const ServiceLocation service("https", "example.org/api", ServiceDialect::kStatusNet);
  EXPECT_EQ(UserRecordUrl("ann smith", service),
            "https://example.org/api/users/show.xml?screen_name=ann%20smith");
  EXPECT_EQ(HomeTimelineUrl("ann", service),
            "https://example.org/api/statuses/home_timeline.xml?count=20");
  EXPECT_EQ(StatusUpdateUrl("hi there", service),
            "https://example.org/api/statuses/update.xml?status=hi%20there");
  EXPECT_EQ(ProfileUpdateUrl(ProfileFields{}, service),
            "https://example.org/api/account/update_profile.xml"
            "?name=&screen_name=&location=&description=&url=");
}

// The site's pages live at the root of the host, whatever path the
// interface has.
TEST(ServiceLocation, SitePagesDropTheInterfacePath) {
  EXPECT_EQ(ServiceLocation("https", "example.org/api", ServiceDialect::kStatusNet)
                .SitePage("/signup"),
            "https://example.org/signup");
  EXPECT_EQ(ServiceLocation("127.0.0.1:8080").SitePage("/account/resend_password"),
            "http://127.0.0.1:8080/account/resend_password");
  EXPECT_EQ(DialectNamed("statusnet"), ServiceDialect::kStatusNet);
  EXPECT_EQ(DialectNamed("classic"), ServiceDialect::kClassic);
}

}  // namespace
}  // namespace plumwit
