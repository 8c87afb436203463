#include "core/service/people_info.h"

#include <array>
#include <utility>

namespace plumwit {

namespace {

using FieldPointer = std::string PeopleInfo::*;

// Element names exactly as the service writes them, with case.
const std::array<std::pair<std::string_view, FieldPointer>, 8> kAccountFields = {{
    {"name", &PeopleInfo::ProfileName},
    {"screen_name", &PeopleInfo::ScreenName},
    {"location", &PeopleInfo::ProfileLocation},
    {"description", &PeopleInfo::ProfileDescription},
    {"friends_count", &PeopleInfo::FriendsCount},
    {"url", &PeopleInfo::ProfileUrl},
    {"statuses_count", &PeopleInfo::StatusesCount},
    {"followers_count", &PeopleInfo::FollowersCount},
}};

FieldPointer FieldNamed(std::string_view name) {
  for (const auto& [element_name, field] : kAccountFields) {
    if (element_name == name) return field;
  }
  return nullptr;
}

}  // namespace

// Only the record's own children count: the account's latest status, nested
// inside, has a "name" and counts of its own that must not be taken.
PeopleInfo ReadPeopleInfo(const XmlDocument& document) {
  PeopleInfo info;
  if (!document.Active()) return info;

  const XmlNode root = document.DocumentElement();
  const std::size_t count = root.ChildCount();
  for (std::size_t i = 0; i < count; ++i) {
    const XmlNode child = root.Child(i);
    const FieldPointer field = FieldNamed(child.Name());
    if (field == nullptr) continue;
    if (std::optional<std::string> value = NodeText(child)) info.*field = std::move(*value);
  }
  return info;
}

}  // namespace plumwit
