#include "startup/IniFile.h"

#include "startup/TextValues.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringList>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype MaxTextLength = 2047;

struct IniText {
    QStringList lines;
    // Kept from the file so that a rewrite changes only what it must.
    QString lineBreak = u"\r\n"_s;
};

// Lines of a section's body: (header, end).
struct SectionLines {
    qsizetype header;
    qsizetype end;
};

struct KeyLine {
    QStringView key;
    QStringView value;
};

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    // A file saved by hand on Windows in the Central European code page.
    QStringDecoder windows1250("windows-1250");
    return windows1250(bytes);
}

IniText splitLines(QStringView text)
{
    IniText result;
    bool lineBreakSeen = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        const qsizetype breakLength = text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
        if (!lineBreakSeen) {
            result.lineBreak = text.mid(i, breakLength).toString();
            lineBreakSeen = true;
        }
        result.lines.append(text.mid(start, i - start).toString());
        i += breakLength - 1;
        start = i + 1;
    }
    if (start < text.size())
        result.lines.append(text.mid(start).toString());
    return result;
}

// No lines when the file does not exist; nothing when it exists but cannot be
// read, so that a writer never replaces a file it has not seen.
std::optional<IniText> load(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return IniText{};
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return splitLines(decode(file.readAll()));
}

IniText loadForReading(const QString &path)
{
    return load(path).value_or(IniText{});
}

// "[name]", the name running to the last "]" of the line.
std::optional<QStringView> headerName(QStringView line)
{
    const QStringView trimmed = line.trimmed();
    if (!trimmed.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = trimmed.lastIndexOf(u']');
    if (close < 0)
        return std::nullopt;
    return trimmed.mid(1, close - 1).trimmed();
}

// "key=value" split at the first "="; headers, comments and lines without
// "=" are not keys.
std::optional<KeyLine> keyLine(QStringView line)
{
    const QStringView trimmed = line.trimmed();
    if (trimmed.startsWith(u'[') || trimmed.startsWith(u';'))
        return std::nullopt;
    const qsizetype equals = trimmed.indexOf(u'=');
    if (equals < 0)
        return std::nullopt;
    return KeyLine{trimmed.first(equals).trimmed(), trimmed.sliced(equals + 1).trimmed()};
}

QList<SectionLines> findSections(const QStringList &lines, QStringView section)
{
    QList<SectionLines> found;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::optional<QStringView> name = headerName(lines[i]);
        if (!name)
            continue;
        if (!found.isEmpty() && found.last().end < 0)
            found.last().end = i;
        if (sameName(*name, section))
            found.append({i, -1});
    }
    if (!found.isEmpty() && found.last().end < 0)
        found.last().end = lines.size();
    return found;
}

// Line of the first key of that name in the section.
std::optional<qsizetype> findKey(const QStringList &lines, const SectionLines &section, QStringView key)
{
    for (qsizetype i = section.header + 1; i < section.end; ++i) {
        const std::optional<KeyLine> line = keyLine(lines[i]);
        if (line && sameName(line->key, key))
            return i;
    }
    return std::nullopt;
}

std::optional<QString> readValue(const QString &path, const QString &section, const QString &key)
{
    const IniText text = loadForReading(path);
    const QList<SectionLines> sections = findSections(text.lines, section);
    if (sections.isEmpty())
        return std::nullopt;
    const std::optional<qsizetype> line = findKey(text.lines, sections.first(), key);
    if (!line)
        return std::nullopt;
    QStringView value = keyLine(text.lines[*line])->value;
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value.left(MaxTextLength).toString();
}

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

std::optional<int> readProfileInteger(QStringView text)
{
    QStringView hexDigits;
    if (text.startsWith(u'$'))
        hexDigits = text.sliced(1);
    else if (text.startsWith(u"0x", Qt::CaseInsensitive))
        hexDigits = text.sliced(2);
    else
        return readWholeNumber(text);
    if (hexDigits.isEmpty())
        return std::nullopt;
    for (QChar c : hexDigits) {
        if (!isHexDigit(c))
            return std::nullopt;
    }
    bool ok = false;
    const int value = hexDigits.toInt(&ok, 16);
    return ok ? std::optional<int>(value) : std::nullopt;
}

void eraseSectionLines(QStringList &lines, QStringView section)
{
    // Every copy goes, so that a rewritten section cannot hide behind an older one.
    const QList<SectionLines> sections = findSections(lines, section);
    for (auto it = sections.crbegin(); it != sections.crend(); ++it)
        lines.remove(it->header, it->end - it->header);
}

void writeKeyLine(QStringList &lines, const QString &section, const QString &key, const QString &value)
{
    const QList<SectionLines> sections = findSections(lines, section);
    if (sections.isEmpty()) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines.append(u'[' + section + u']');
        lines.append(key + u'=' + value);
        return;
    }
    const SectionLines &first = sections.first();
    if (const std::optional<qsizetype> line = findKey(lines, first, key)) {
        lines[*line] = keyLine(lines[*line])->key.toString() + u'=' + value;
        return;
    }
    // After the section's last key, so that blank lines and comments before
    // the next header stay where they are.
    qsizetype insertAt = first.header + 1;
    for (qsizetype i = first.header + 1; i < first.end; ++i) {
        if (keyLine(lines[i]))
            insertAt = i + 1;
    }
    lines.insert(insertAt, key + u'=' + value);
}

void save(const QString &path, const IniText &text)
{
    QByteArray bytes;
    for (const QString &line : text.lines)
        bytes += (line + text.lineBreak).toUtf8();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw IniWriteError(path);
}

// Applies edit to the file's lines and replaces the file when they changed.
template<typename Edit>
void rewrite(const QString &path, Edit edit)
{
    std::optional<IniText> text = load(path);
    if (!text)
        throw IniWriteError(path);
    const QStringList before = text->lines;
    edit(text->lines);
    if (text->lines != before)
        save(path, *text);
}

} // namespace

IniFile::IniFile(QString path)
    : m_path(std::move(path))
{
}

QString IniFile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    return readValue(m_path, section, key).value_or(defaultValue);
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    const std::optional<QString> value = readValue(m_path, section, key);
    if (!value)
        return defaultValue;
    return readProfileInteger(*value).value_or(defaultValue);
}

bool IniFile::readBool(const QString &section, const QString &key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::sectionHasKeys(const QString &section) const
{
    const IniText text = loadForReading(m_path);
    const QList<SectionLines> sections = findSections(text.lines, section);
    if (sections.isEmpty())
        return false;
    for (qsizetype i = sections.first().header + 1; i < sections.first().end; ++i) {
        if (keyLine(text.lines[i]))
            return true;
    }
    return false;
}

void IniFile::eraseSection(const QString &section)
{
    rewrite(m_path, [&](QStringList &lines) { eraseSectionLines(lines, section); });
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    rewrite(m_path, [&](QStringList &lines) { writeKeyLine(lines, section, key, value); });
}

void IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeString(section, key, value ? u"1"_s : u"0"_s);
}

void IniFile::replaceSection(const QString &section, const QVector<QPair<QString, QString>> &keys)
{
    rewrite(m_path, [&](QStringList &lines) {
        eraseSectionLines(lines, section);
        for (const auto &[key, value] : keys)
            writeKeyLine(lines, section, key, value);
    });
}

IniWriteError::IniWriteError(const QString &path)
    : std::runtime_error(("Unable to write to " + path).toStdString())
    , m_path(path)
{
}

QString IniWriteError::message() const
{
    return u"Unable to write to "_s + m_path;
}
