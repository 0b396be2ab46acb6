#pragma once

#include <QPair>
#include <QString>
#include <QVector>
#include <stdexcept>

// A settings file read and written the way the platform's profile routines
// do: [sections] and key=value lines, names compared without case, blanks
// and one pair of enclosing quotes dropped from values, values read up to
// 2047 characters. Every call opens the file afresh; nothing is cached.
// Read as UTF-8, or as Windows-1250 when the bytes are not valid UTF-8;
// always written as UTF-8, replacing the file as a whole.
class IniFile {
public:
    explicit IniFile(QString path);

    const QString &path() const { return m_path; }

    QString readString(const QString &section, const QString &key, const QString &defaultValue) const;
    // Decimal, or hexadecimal with "$" or "0x"; the default for anything else.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    // An integer, any value other than 0 being on.
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;
    bool sectionHasKeys(const QString &section) const;

    // The writers throw IniWriteError when the file cannot be replaced.
    void eraseSection(const QString &section);
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeBool(const QString &section, const QString &key, bool value);
    // Erases the section and writes the keys in order, in one replacement of
    // the file, so that a failure leaves the old section in place.
    void replaceSection(const QString &section, const QVector<QPair<QString, QString>> &keys);

private:
    QString m_path;
};

class IniWriteError : public std::runtime_error {
public:
    explicit IniWriteError(const QString &path);
    // "Unable to write to <path>"
    QString message() const;

private:
    QString m_path;
};
