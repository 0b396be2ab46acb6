#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <pugixml.hpp>

// An answer of the central bank's service, read by one set of rules whether
// it came over the network or from a saved file: a SOAP envelope whose body
// holds a fault, or a response element whose "…Result" child carries the
// operation's result as text.
class SoapAnswer {
public:
    explicit SoapAnswer(const QByteArray &bytes);
    SoapAnswer(const SoapAnswer &) = delete;
    SoapAnswer &operator=(const SoapAnswer &) = delete;

    bool isXml() const { return bool(m_parsed); }
    // Throws SourceError when the answer is not XML.
    void requireXml() const;
    // Whether the root is a SOAP envelope; a saved answer may be the rate
    // document alone.
    bool isEnvelope() const;
    pugi::xml_node root() const { return m_document.document_element(); }
    // The fault string of a SOAP fault; none for any other answer.
    std::optional<QString> fault() const;

    // The result element's text, unescaped, inside the answer's own parse
    // buffer, where it may be parsed in place. Throws SourceError when the
    // answer is not XML, is a fault, or has no result element.
    char *result();

private:
    pugi::xml_document m_document;
    pugi::xml_parse_result m_parsed;
    QByteArray m_joined;
};
