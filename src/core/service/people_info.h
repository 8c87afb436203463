#pragma once

#include <string>

#include "core/service/xml_document.h"

namespace plumwit {

// The eight values of an account record the program keeps.
struct PeopleInfo {
  std::string ProfileName;
  std::string ScreenName;
  std::string ProfileLocation;
  std::string ProfileDescription;
  std::string ProfileUrl;
  std::string StatusesCount;
  std::string FollowersCount;
  std::string FriendsCount;
};

// Walks the direct children of the document element. An inactive document
// gives eight empty values; a name that is absent or has no value gives an
// empty one; the last non-null occurrence of a name wins. Errors from the
// document propagate, so a caller that assigns the result only on return
// keeps its previous values.
PeopleInfo ReadPeopleInfo(const XmlDocument& document);

}  // namespace plumwit
