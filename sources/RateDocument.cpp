#include "sources/RateDocument.h"

#include "sources/AnswerXml.h"
#include "sources/SoapAnswer.h"
#include "sources/SourceError.h"
#include "startup/TextValues.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <deque>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>

using namespace Qt::StringLiterals;

namespace {
void check(const pugi::xml_parse_result &result)
{
    if (!result)
        throw SourceError(unreadableXmlMessage(result));
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

// Missing or not a whole number reads as unit 0, the rate taken undivided.
// A whole number outside 0–65535 is no unit: the entry is dropped, since a
// wrapped unit would divide its rate by junk.
std::optional<quint16> readUnit(const char *text)
{
    std::string_view t(text);
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
        t.remove_suffix(1);
    bool negative = false;
    if (!t.empty() && (t.front() == '+' || t.front() == '-')) {
        negative = t.front() == '-';
        t.remove_prefix(1);
    }
    if (!allDigits(t))
        return 0;
    t.remove_prefix(std::min(t.find_first_not_of('0'), t.size()));
    if (t.empty())
        return 0;
    if (negative || t.size() > 5)
        return std::nullopt;
    int n = 0;
    std::from_chars(t.data(), t.data() + t.size(), n);
    return n <= 0xFFFF ? std::optional<quint16>(quint16(n)) : std::nullopt;
}

// Rates are written like "363,47000": up to 15 digits, read exactly as the
// whole number over a power of ten (both exact doubles, so the quotient is
// the correctly rounded value). Anything else goes through the general reader
// with the same rules.
double readRate(const char *text)
{
    static constexpr double PowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
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
    return readDecimal(QString::fromUtf8(text), u',').value_or(0.0);
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
    const auto date = readDate(QString::fromUtf8(text), u'-');
    return date ? DateTime::fromDate(*date) : DateTime();
}

void readDays(const pugi::xml_node &root, CurrencyObjectList &list)
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
            const std::optional<quint16> unit = readUnit(rate.attribute("unit").value());
            if (!unit)
                continue;
            const double value = readRate(rate.text().get());
            CurrencyObject entry;
            entry.fillWithData(codes(rate.attribute("curr").value()), QString(), place, date, *unit, value, value,
                               value);
            list.addCurrency(std::move(entry));
        }
    }
}
} // namespace

void readRateDocument(const QByteArray &utf8, CurrencyObjectList &list)
{
    SoapAnswer answer(utf8);
    answer.requireXml();
    if (!answer.isEnvelope()) {
        readDays(answer.root(), list);
        return;
    }
    // The result text lies unescaped in the answer's own parse buffer, which
    // is not read again: the document is parsed right there, without a copy
    // of a history answer's megabytes.
    char *inner = answer.result();
    pugi::xml_document document;
    check(document.load_buffer_inplace(inner, std::strlen(inner), AnswerParseFlags, pugi::encoding_utf8));
    readDays(document.document_element(), list);
}

void readRateDocument(const QString &text, CurrencyObjectList &list)
{
    readRateDocument(text.toUtf8(), list);
}
