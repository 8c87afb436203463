#include "support/service_replies.h"

namespace plumwit::test {

std::string UserRecord(const std::string& name, const std::string& screen_name,
                       const std::string& statuses, const std::string& followers,
                       const std::string& friends) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<user>\n  <id>7</id>\n  <name>" + name +
         "</name>\n  <screen_name>" + screen_name +
         "</screen_name>\n  <location>Lisbon</location>\n  <description>Reads a lot</description>\n"
         "  <url>http://example.org/</url>\n  <followers_count>" +
         followers + "</followers_count>\n  <friends_count>" + friends +
         "</friends_count>\n  <statuses_count>" + statuses +
         "</statuses_count>\n  <status>\n    <name>nested, never read</name>\n"
         "    <text>latest</text>\n  </status>\n</user>\n";
}

std::string OneStatusTimeline(const std::string& text, const std::string& picture_url) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<statuses type=\"array\">\n<status>\n"
         "  <created_at>Tue Mar 02 10:00:00 +0000 2010</created_at>\n  <id>1</id>\n  <text>" +
         text +
         "</text>\n  <user>\n    <id>8</id>\n    <name>Bob Builder</name>\n"
         "    <screen_name>bob</screen_name>\n    <profile_image_url>" +
         picture_url +
         "</profile_image_url>\n    <created_at>Mon Jan 04 09:00:00 +0000 2010</created_at>\n"
         "  </user>\n</status>\n</statuses>\n";
}

std::string RefusalDocument() {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<hash>\n"
         "  <request>/statuses/home_timeline/ann.xml</request>\n"
         "  <error>Could not authenticate you.</error>\n</hash>\n";
}

}  // namespace plumwit::test
