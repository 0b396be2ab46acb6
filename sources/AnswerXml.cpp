#include "sources/AnswerXml.h"

#include <QByteArray>

using namespace Qt::StringLiterals;

std::string_view localName(const pugi::xml_node &node)
{
    const std::string_view full = node.name();
    const size_t colon = full.rfind(':');
    return colon == std::string_view::npos ? full : full.substr(colon + 1);
}

bool hasLocalName(const pugi::xml_node &node, std::string_view name)
{
    return node.type() == pugi::node_element && localName(node) == name;
}

pugi::xml_node childByLocalName(const pugi::xml_node &parent, std::string_view name)
{
    return parent.find_child([name](const pugi::xml_node &node) { return hasLocalName(node, name); });
}

QString textOf(const pugi::xml_node &element)
{
    QByteArray text;
    for (pugi::xml_node child : element.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            text += child.value();
    }
    return QString::fromUtf8(text);
}

QString unreadableXmlMessage(const pugi::xml_parse_result &result)
{
    return u"A jegybank válasza nem olvasható XML-dokumentum (%1, a(z) %2. bájtnál)."_s
        .arg(QString::fromUtf8(result.description()))
        .arg(result.offset + 1);
}
