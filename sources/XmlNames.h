#pragma once

#include <pugixml.hpp>
#include <string_view>

// Elements of the central bank's answers are matched by their local name:
// the service may put any namespace prefix before it.

std::string_view LocalName(const pugi::xml_node &node);
// Only elements have a name to match.
bool HasLocalName(const pugi::xml_node &node, std::string_view name);
pugi::xml_node ChildByLocalName(const pugi::xml_node &parent, std::string_view name);
pugi::xml_node DescendantByLocalName(const pugi::xml_node &root, std::string_view name);
