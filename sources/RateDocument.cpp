#include "sources/RateDocument.h"

#include "sources/XmlNames.h"
#include "startup/TextValues.h"

#include <pugixml.hpp>
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <string_view>

using namespace Qt::StringLiterals;

namespace {
// Entities are replaced; nothing the reader ignores (comments, line-end
// normalisation, processing instructions) is built.
constexpr unsigned ParseFlags = pugi::parse_minimal | pugi::parse_escapes;

void check(const pugi::xml_parse_result &result)
{
    if (!result) {
        throw ServiceError(u"A jegybank válasza nem olvasható XML-dokumentum (%1, a(z) %2. bájtnál)."_s
                                    .arg(QString::fromUtf8(result.description()))
                                    .arg(result.offset + 1));
    }
}

// The document a SOAP answer carries in its result element.
const char *resultOfEnvelope(const pugi::xml_node &envelope)
{
    const pugi::xml_node body = ChildByLocalName(envelope, "Body");
    if (const pugi::xml_node fault = ChildByLocalName(body, "Fault")) {
        const QString text = QString::fromUtf8(fault.child("faultstring").text().get()).trimmed();
        throw ServiceError(u"A jegybank szolgáltatása hibát jelzett: %1"_s.arg(text));
    }
    for (pugi::xml_node response : body.children()) {
        if (response.type() != pugi::node_element)
            continue;
        for (pugi::xml_node result : response.children()) {
            if (result.type() == pugi::node_element && LocalName(result).ends_with("Result"))
                return result.text().get();
        }
    }
    throw ServiceError(u"A jegybank válaszában nincs árfolyam-dokumentum (hiányzik az eredmény elem)."_s);
}

// The few currencies of a long history share their code strings.
// Days list them in the same order, so the one after the last found is
// tried first.
class CodeCache {
public:
    const QString &operator()(const char *code)
    {
        const std::string_view key(code);
        for (size_t tried = 0; tried < m_codes.size(); ++tried) {
            m_next = m_next < m_codes.size() ? m_next : 0;
            const auto &[text, string] = m_codes[m_next++];
            if (text == key)
                return string;
        }
        m_codes.emplace_back(std::string(key), QString::fromUtf8(code));
        m_next = m_codes.size();
        return m_codes.back().second;
    }

private:
    std::deque<std::pair<std::string, QString>> m_codes;
    size_t m_next = 0;
};

bool allDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

quint16 readUnit(const char *text)
{
    // Out of range is as unreadable as missing: wrapping would divide by junk.
    std::optional<qint32> unit;
    const std::string_view digits(text);
    if (allDigits(digits) && digits.size() <= 9) {
        qint32 n = 0;
        std::from_chars(digits.data(), digits.data() + digits.size(), n);
        unit = n;
    } else {
        unit = ReadWholeNumber(QString::fromUtf8(text));
    }
    return unit && *unit >= 0 && *unit <= 0xFFFF ? static_cast<quint16>(*unit) : 0;
}

// Rates are written like "363,47000": up to 15 digits, read exactly as the
// whole number over a power of ten (both exact doubles, so the quotient is
// the correctly rounded value). Anything else goes through the general reader
// with the same rules.
double readRate(const char *text)
{
    static constexpr double PowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::int64_t mantissa = 0;
    int digits = 0, decimals = -1;
    const char *p = text;
    for (; *p; ++p) {
        if (*p >= '0' && *p <= '9') {
            mantissa = mantissa * 10 + (*p - '0');
            ++digits;
            if (decimals >= 0)
                ++decimals;
        } else if (*p == ',' && decimals < 0 && digits > 0) {
            decimals = 0;
        } else {
            break;
        }
    }
    if (*p == 0 && digits > 0 && digits <= 15 && decimals != 0)
        return static_cast<double>(mantissa) / PowersOfTen[decimals < 0 ? 0 : decimals];
    return ReadDecimal(QString::fromUtf8(text), u',').value_or(0.0);
}

DateTime readDay(const char *text)
{
    const std::string_view t(text);
    if (t.size() == 10 && t[4] == '-' && t[7] == '-' && allDigits(t.substr(0, 4)) && allDigits(t.substr(5, 2))
        && allDigits(t.substr(8, 2))) {
        const QDate date((t[0] - '0') * 1000 + (t[1] - '0') * 100 + (t[2] - '0') * 10 + (t[3] - '0'),
                         (t[5] - '0') * 10 + (t[6] - '0'), (t[8] - '0') * 10 + (t[9] - '0'));
        return date.isValid() ? DateTime::fromDate(date) : DateTime();
    }
    const auto date = ReadDate(QString::fromUtf8(text), u'-');
    return date ? DateTime::fromDate(*date) : DateTime();
}

void readDays(const pugi::xml_node &root, TCurrencyObjectList &list)
{
    const QString place = u"MNB"_s;
    CodeCache codes;
    for (pugi::xml_node day : root.children()) {
        if (day.type() != pugi::node_element)
            continue;
        const DateTime date = readDay(day.attribute("date").value());
        for (pugi::xml_node rate : day.children()) {
            if (rate.type() != pugi::node_element)
                continue;
            const double value = readRate(rate.text().get());
            TCurrencyObject entry;
            entry.FillWithData(codes(rate.attribute("curr").value()), QString(), place, date,
                                readUnit(rate.attribute("unit").value()), value, value, value);
            list.AddCurrency(std::move(entry));
        }
    }
}
} // namespace

void ReadRateDocument(const QByteArray &utf8, TCurrencyObjectList &list)
{
    pugi::xml_document doc;
    check(doc.load_buffer(utf8.constData(), static_cast<size_t>(utf8.size()), ParseFlags, pugi::encoding_utf8));
    pugi::xml_node root = doc.document_element();
    if (!HasLocalName(root, "Envelope")) {
        readDays(root, list);
        return;
    }
    // The result text lies unescaped in the envelope's own parse buffer, which
    // is not read again: the document is parsed right there, without a copy
    // of a history answer's megabytes.
    char *inner = const_cast<char *>(resultOfEnvelope(root));
    pugi::xml_document document;
    check(document.load_buffer_inplace(inner, std::strlen(inner), ParseFlags, pugi::encoding_utf8));
    readDays(document.document_element(), list);
}

void ReadRateDocument(const QString &text, TCurrencyObjectList &list)
{
    ReadRateDocument(text.toUtf8(), list);
}
