#include "sources/DownloadFile.h"

#include "sources/DownloadedLines.h"
#include "sources/SourceError.h"

#include <QDir>
#include <QTemporaryFile>

using namespace Qt::StringLiterals;

DownloadFile::DownloadFile(QString folder)
    : m_folder(std::move(folder))
{
}

DownloadFile::~DownloadFile() = default;

QFile &DownloadFile::create()
{
    discard();
    QDir().mkpath(m_folder);
    // QTemporaryFile opens with O_CREAT | O_EXCL and mode 0600: a link or a
    // file already at the name is never opened, only a fresh name is.
    auto file = std::make_unique<QTemporaryFile>(QDir(m_folder).filePath(u"kelvora.XXXXXX.tmp"_s));
    if (!file->open()) {
        throw SourceError(u"A letöltési fájl nem hozható létre a(z) %1 mappában: %2"_s.arg(
            QDir::toNativeSeparators(m_folder), file->errorString()));
    }
    m_file = std::move(file);
    return *m_file;
}

void DownloadFile::discard()
{
    m_file.reset();
}

QString DownloadFile::path() const
{
    return m_file ? m_file->fileName() : QString();
}

QStringList DownloadFile::lines() const
{
    if (!m_file)
        return {};
    QFile file(m_file->fileName());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return decodeDownloadedLines(file.readAll());
}
