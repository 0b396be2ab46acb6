#include "sources/RateDocument.h"

#include "startup/TextValues.h"

#include <QList>
#include <pugixml.hpp>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {
const char *localName(const pugi::xml_node &node)
{
    const char *name = node.name();
    const char *colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

bool isNamed(const pugi::xml_node &node, const char *name)
{
    return std::strcmp(localName(node), name) == 0;
}

bool endsWith(const char *text, const char *suffix)
{
    const size_t n = std::strlen(text), m = std::strlen(suffix);
    return n >= m && std::strcmp(text + n - m, suffix) == 0;
}

pugi::xml_node elementChild(const pugi::xml_node &parent, const char *name)
{
    for (pugi::xml_node child : parent.children()) {
        if (child.type() == pugi::node_element && isNamed(child, name))
            return child;
    }
    return {};
}

void parse(pugi::xml_document &doc, const char *data, size_t size)
{
    const pugi::xml_parse_result result = doc.load_buffer(data, size, pugi::parse_default, pugi::encoding_utf8);
    if (!result) {
        throw ServiceError(u"A jegybank válasza nem olvasható XML-dokumentum (%1, a(z) %2. bájtnál)."_s
                                    .arg(QString::fromUtf8(result.description()))
                                    .arg(result.offset + 1));
    }
}

// The document a SOAP answer carries in its result element.
QByteArray resultOfEnvelope(const pugi::xml_node &envelope)
{
    const pugi::xml_node body = elementChild(envelope, "Body");
    if (const pugi::xml_node fault = elementChild(body, "Fault")) {
        const QString text = QString::fromUtf8(fault.child("faultstring").text().get()).trimmed();
        throw ServiceError(u"A jegybank szolgáltatása hibát jelzett: %1"_s.arg(text));
    }
    for (pugi::xml_node response : body.children()) {
        if (response.type() != pugi::node_element)
            continue;
        for (pugi::xml_node result : response.children()) {
            if (result.type() == pugi::node_element && endsWith(localName(result), "Result"))
                return QByteArray(result.text().get());
        }
    }
    throw ServiceError(u"A jegybank válaszában nincs árfolyam-dokumentum (hiányzik az eredmény elem)."_s);
}

quint16 readUnit(const char *text)
{
    // Out of range is as unreadable as missing: wrapping would divide by junk.
    const auto unit = ReadWholeNumber(QString::fromLatin1(text));
    return unit && *unit >= 0 && *unit <= 0xFFFF ? static_cast<quint16>(*unit) : 0;
}

void readDays(const pugi::xml_node &root, TCurrencyObjectList &list)
{
    const QString place = u"MNB"_s;
    QList<QString> codes; // shared strings for the few currencies of a long history
    for (pugi::xml_node day : root.children()) {
        if (day.type() != pugi::node_element)
            continue;
        DateTime date;
        if (const auto parsed = ReadDate(QString::fromUtf8(day.attribute("date").value()), u'-'))
            date = DateTime::fromDate(*parsed);
        for (pugi::xml_node rate : day.children()) {
            if (rate.type() != pugi::node_element)
                continue;
            const QString code = QString::fromUtf8(rate.attribute("curr").value());
            auto known = std::find(codes.begin(), codes.end(), code);
            if (known == codes.end())
                known = codes.insert(codes.end(), code);
            const double value = ReadDecimal(QString::fromUtf8(rate.text().get()), u',').value_or(0.0);
            auto entry = std::make_unique<TCurrencyObject>();
            entry->FillWithData(*known, QString(), place, date, readUnit(rate.attribute("unit").value()), value, value,
                                value);
            list.AddCurrency(std::move(entry));
        }
    }
}
} // namespace

void ReadRateDocument(const QByteArray &utf8, TCurrencyObjectList &list)
{
    pugi::xml_document doc;
    parse(doc, utf8.constData(), static_cast<size_t>(utf8.size()));
    pugi::xml_node root = doc.document_element();
    if (isNamed(root, "Envelope")) {
        const QByteArray inner = resultOfEnvelope(root);
        pugi::xml_document document;
        parse(document, inner.constData(), static_cast<size_t>(inner.size()));
        readDays(document.document_element(), list);
        return;
    }
    readDays(root, list);
}

void ReadRateDocument(const QString &text, TCurrencyObjectList &list)
{
    ReadRateDocument(text.toUtf8(), list);
}
