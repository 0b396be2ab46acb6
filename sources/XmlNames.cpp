#include "sources/XmlNames.h"

std::string_view LocalName(const pugi::xml_node &node)
{
    const std::string_view full = node.name();
    const size_t colon = full.rfind(':');
    return colon == std::string_view::npos ? full : full.substr(colon + 1);
}

bool HasLocalName(const pugi::xml_node &node, std::string_view name)
{
    return node.type() == pugi::node_element && LocalName(node) == name;
}

pugi::xml_node ChildByLocalName(const pugi::xml_node &parent, std::string_view name)
{
    return parent.find_child([name](const pugi::xml_node &node) { return HasLocalName(node, name); });
}

pugi::xml_node DescendantByLocalName(const pugi::xml_node &root, std::string_view name)
{
    return root.find_node([name](const pugi::xml_node &node) { return HasLocalName(node, name); });
}
