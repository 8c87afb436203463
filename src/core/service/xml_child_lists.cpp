#include "core/service/xml_child_lists.h"

#include <pugixml.hpp>

namespace plumwit {

const XmlChildLists::List& XmlChildLists::Of(pugi::xml_node_struct* node) const {
  const auto found = lists_.find(node);
  if (found != lists_.end()) return found->second;
  List& list = lists_[node];
  for (const pugi::xml_node child : pugi::xml_node(node).children()) {
    list.push_back(child.internal_object());
  }
  return list;
}

}  // namespace plumwit
