#pragma once

#include <unordered_map>
#include <vector>

namespace pugi {
class xml_node_struct;
}  // namespace pugi

namespace plumwit {

// The children of the nodes of one loaded document, listed on first use, so
// that counting them and taking them by index cost nothing after one walk:
// reading every child of a node is linear in their number.
class XmlChildLists {
 public:
  using List = std::vector<pugi::xml_node_struct*>;

  const List& Of(pugi::xml_node_struct* node) const;
  void Clear() { lists_.clear(); }

 private:
  mutable std::unordered_map<const pugi::xml_node_struct*, List> lists_;
};

}  // namespace plumwit
