#include "sources/SoapAnswer.h"

#include "sources/AnswerXml.h"
#include "sources/SourceError.h"

using namespace Qt::StringLiterals;

namespace {
pugi::xml_node body(const pugi::xml_node &envelope)
{
    return childByLocalName(envelope, "Body");
}
} // namespace

SoapAnswer::SoapAnswer(const QByteArray &bytes)
    : m_parsed(m_document.load_buffer(bytes.constData(), size_t(bytes.size()), AnswerParseFlags, pugi::encoding_utf8))
{
}

bool SoapAnswer::isEnvelope() const
{
    return isXml() && hasLocalName(root(), "Envelope");
}

std::optional<QString> SoapAnswer::fault() const
{
    if (!isEnvelope())
        return std::nullopt;
    const pugi::xml_node fault = childByLocalName(body(root()), "Fault");
    if (!fault)
        return std::nullopt;
    const QString text = textOf(childByLocalName(fault, "faultstring")).trimmed();
    return text.isEmpty() ? u"A jegybank szolgáltatása hibát jelzett, de nem adta meg az okát."_s : text;
}

void SoapAnswer::requireXml() const
{
    if (!isXml())
        throw SourceError(unreadableXmlMessage(m_parsed));
}

char *SoapAnswer::result()
{
    requireXml();
    if (const std::optional<QString> text = fault())
        throw SourceError(*text);
    for (pugi::xml_node response : body(root()).children()) {
        if (response.type() != pugi::node_element)
            continue;
        for (pugi::xml_node result : response.children()) {
            if (result.type() != pugi::node_element || !localName(result).ends_with("Result"))
                continue;
            // One piece of text is used where it lies. Several (text and
            // CDATA) are joined; none gives an empty result, not pugixml's
            // shared constant.
            const pugi::xml_node text = result.first_child();
            const bool single =
                text && !text.next_sibling() && (text.type() == pugi::node_pcdata || text.type() == pugi::node_cdata);
            if (single)
                return const_cast<char *>(text.value());
            m_joined = textOf(result).toUtf8();
            return m_joined.data();
        }
    }
    throw SourceError(u"A jegybank válaszából hiányzik az eredmény elem."_s);
}
