#pragma once

#include <QString>
#include <pugixml.hpp>
#include <string_view>

// The XML of the central bank's answers. Elements are matched by their
// local name: the service may put any namespace prefix before it.

// Entities are replaced; nothing the readers ignore (comments, line-end
// normalisation, processing instructions) is built.
inline constexpr unsigned AnswerParseFlags = pugi::parse_minimal | pugi::parse_escapes | pugi::parse_cdata;

std::string_view localName(const pugi::xml_node &node);
// Only elements have a name to match.
bool hasLocalName(const pugi::xml_node &node, std::string_view name);
pugi::xml_node childByLocalName(const pugi::xml_node &parent, std::string_view name);

// The text and CDATA children of an element, joined.
QString textOf(const pugi::xml_node &element);

// The message for an answer that does not parse.
QString unreadableXmlMessage(const pugi::xml_parse_result &result);
