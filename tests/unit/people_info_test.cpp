#include <gtest/gtest.h>

#include <string>

#include "core/service/people_info.h"
#include "support/service_documents.h"

namespace plumwit {
namespace {

PeopleInfo ReadFrom(const std::string& xml) {
  XmlDocument document;
  document.Load(xml);
  return ReadPeopleInfo(document);
}

void ExpectAllEmpty(const PeopleInfo& info) {
  for (const std::string* field :
       {&info.ProfileName, &info.ScreenName, &info.ProfileLocation, &info.ProfileDescription,
        &info.ProfileUrl, &info.StatusesCount, &info.FollowersCount, &info.FriendsCount}) {
    EXPECT_EQ(*field, "");
  }
}

// The nested status's "name" is never taken; counts stay as the service
// wrote them; empty description and url tags give empty fields.
TEST(ReadPeopleInfo, CopiesTheRecordsOwnFields) {
  const PeopleInfo info = ReadFrom(testing::kUserRecord);
  EXPECT_EQ(info.ProfileName, "Ann Example");
  EXPECT_EQ(info.ScreenName, "ann");
  EXPECT_EQ(info.ProfileLocation, "Caf\xC3\xA9 de Paris");
  EXPECT_EQ(info.ProfileDescription, "");
  EXPECT_EQ(info.ProfileUrl, "");
  EXPECT_EQ(info.StatusesCount, "7");
  EXPECT_EQ(info.FollowersCount, "0012");
  EXPECT_EQ(info.FriendsCount, "1,024");
}

TEST(ReadPeopleInfo, LastValueWinsAndNoValueLeavesTheRunningOne) {
  const PeopleInfo info = ReadFrom(
      "<user><name>First</name><name>Second</name><name/>"
      "<url>http://a.example/</url><url></url><screen_name></screen_name></user>");
  EXPECT_EQ(info.ProfileName, "Second");
  EXPECT_EQ(info.ProfileUrl, "http://a.example/");
  EXPECT_EQ(info.ScreenName, "");
}

TEST(ReadPeopleInfo, DocumentsWithoutTheEightNamesGiveEmptyFields) {
  for (const std::string& xml :
       {std::string(testing::kRefusalDocument),
        std::string("<user><Name>Ann</Name><SCREEN_NAME>ann</SCREEN_NAME>"
                    "<status><name>Ann</name><followers_count>3</followers_count></status>"
                    "</user>")}) {
    SCOPED_TRACE(xml);
    ExpectAllEmpty(ReadFrom(xml));
  }
}

TEST(ReadPeopleInfo, InactiveDocumentGivesEmptyFields) {
  XmlDocument document;
  document.Load(testing::kUserRecord);
  document.SetActive(false);
  ExpectAllEmpty(ReadPeopleInfo(document));
  ExpectAllEmpty(ReadPeopleInfo(XmlDocument()));
}

// A caller assigns the result only when the walk returns, so on an error it
// keeps the values it had.
TEST(ReadPeopleInfo, DocumentErrorsPropagate) {
  struct Case {
    const char* xml;
    const char* message;
  };
  for (const Case& failure :
       {Case{"<user><name>Ann</name><location><city>Paris</city></location></user>",
             kNotSingleTextNodeMessage},
        Case{"", kNoDocumentElementMessage}}) {
    XmlDocument document;
    document.Load(failure.xml);
    try {
      ReadPeopleInfo(document);
      ADD_FAILURE() << "no error for " << failure.xml;
    } catch (const Error& error) {
      EXPECT_STREQ(error.what(), failure.message);
    }
  }
}

}  // namespace
}  // namespace plumwit
