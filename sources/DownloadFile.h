#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <memory>

class QTemporaryFile;

// Where a download waits to be read back: a file of its own in the
// temporary folder, named "kelvora.*.tmp", created exclusively (never
// through a link someone else placed there) and readable by the user alone.
// Two runs at once never share one. It goes when the next download starts,
// when discarded, and with this object.
class DownloadFile {
public:
    explicit DownloadFile(QString folder);
    ~DownloadFile();
    DownloadFile(const DownloadFile &) = delete;
    DownloadFile &operator=(const DownloadFile &) = delete;

    // A new, empty file open for writing, in place of the last one. Throws
    // SourceError when it cannot be created.
    QFile &create();
    void discard();

    // The file's path; empty when there is none.
    QString path() const;
    // The lines of the download, decoded as UTF-8; none when there is no
    // download.
    QStringList lines() const;

private:
    QString m_folder;
    std::unique_ptr<QTemporaryFile> m_file;
};
