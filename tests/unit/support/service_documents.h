#pragma once

// Replies shaped like the service's real answers, shared by the XML reading
// tests.
namespace plumwit::testing {

// A user record: the account's own fields, an empty description, an empty
// url tag, counts written with leading zeros and separators, and the latest
// status nested inside with a "name" and a "created_at" of its own.
inline constexpr const char* kUserRecord =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<user>\n"
    "  <id>42</id>\n"
    "  <name>Ann Example</name>\n"
    "  <screen_name>ann</screen_name>\n"
    "  <location>Caf\xC3\xA9 de Paris</location>\n"
    "  <description></description>\n"
    "  <profile_image_url>http://a0.example/ann.png</profile_image_url>\n"
    "  <url/>\n"
    "  <protected>false</protected>\n"
    "  <followers_count>0012</followers_count>\n"
    "  <friends_count>1,024</friends_count>\n"
    "  <created_at>Mon Jan 05 10:00:00 +0000 2009</created_at>\n"
    "  <statuses_count>7</statuses_count>\n"
    "  <status>\n"
    "    <created_at>Tue Mar 10 08:15:00 +0000 2009</created_at>\n"
    "    <text>latest &amp;lt;news&amp;gt;</text>\n"
    "    <name>not the account's</name>\n"
    "  </status>\n"
    "</user>\n";

// What the service answers a timeline request with wrong credentials.
inline constexpr const char* kRefusalDocument =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<hash>\n"
    "  <request>/statuses/home_timeline/ann.xml?count=20</request>\n"
    "  <error>Could not authenticate you.</error>\n"
    "</hash>\n";

}  // namespace plumwit::testing
