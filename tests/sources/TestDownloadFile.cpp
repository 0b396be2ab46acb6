#include "sources/DownloadFile.h"
#include "sources/SourceError.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestDownloadFile : public QObject {
    Q_OBJECT

private slots:
    void init();
    void createdForTheUserAlone();
    void neverWritesThroughALink();
    void twoRunsNeverShareOne();
    void goesWhenDone();
    void readsBackAsLines();
    void makesAMissingFolder();
    void folderThatCannotBeMade();

private:
    static void write(QFile &file, const QByteArray &bytes);

    std::unique_ptr<QTemporaryDir> m_temp;
};

void TestDownloadFile::write(QFile &file, const QByteArray &bytes)
{
    QCOMPARE(file.write(bytes), bytes.size());
    file.close();
}

void TestDownloadFile::init()
{
    m_temp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_temp->isValid());
}

void TestDownloadFile::createdForTheUserAlone()
{
    DownloadFile download(m_temp->path());
    QCOMPARE(download.path(), QString());
    QFile &file = download.create();
    const QFileInfo info(download.path());
    QCOMPARE(info.absolutePath(), m_temp->path());
    QVERIFY2(info.fileName().startsWith(u"kelvora."_s) && info.fileName().endsWith(u".tmp"_s),
             qPrintable(info.fileName()));
    QVERIFY(file.isOpen() && file.isWritable());
    const QFile::Permissions others =
        QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(info.permissions() & others, QFile::Permissions());
}

void TestDownloadFile::neverWritesThroughALink()
{
    // Another user's link at the name the download once had, pointing at a
    // file of this user's.
    const QString victim = m_temp->filePath(u"books.fdb"_s);
    QFile original(victim);
    QVERIFY(original.open(QIODevice::WriteOnly));
    write(original, "the books");
    QVERIFY(QFile::setPermissions(victim, QFile::ReadOwner | QFile::WriteOwner));
    QVERIFY(QFile::link(victim, m_temp->filePath(u"kelvora.tmp"_s)));

    DownloadFile download(m_temp->path());
    write(download.create(), "a downloaded table");
    QVERIFY(!QFileInfo(download.path()).isSymLink());

    QVERIFY(original.open(QIODevice::ReadOnly));
    QCOMPARE(original.readAll(), "the books");
    QCOMPARE(QFileInfo(victim).permissions() & (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup),
             QFile::Permissions());
}

void TestDownloadFile::twoRunsNeverShareOne()
{
    DownloadFile first(m_temp->path());
    DownloadFile second(m_temp->path());
    write(first.create(), "first run");
    write(second.create(), "second run");
    QVERIFY(first.path() != second.path());
    QCOMPARE(first.lines(), QStringList{u"first run"_s});
    QCOMPARE(second.lines(), QStringList{u"second run"_s});
}

void TestDownloadFile::goesWhenDone()
{
    QString path;
    {
        DownloadFile download(m_temp->path());
        write(download.create(), "1");
        const QString earlier = download.path();
        write(download.create(), "2");
        QVERIFY(!QFileInfo::exists(earlier));
        path = download.path();
        QVERIFY(QFileInfo::exists(path));
        download.discard();
        QVERIFY(!QFileInfo::exists(path));
        QCOMPARE(download.lines(), QStringList());
        write(download.create(), "3");
        path = download.path();
    }
    QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(QDir(m_temp->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void TestDownloadFile::readsBackAsLines()
{
    DownloadFile download(m_temp->path());
    QCOMPARE(download.lines(), QStringList());
    write(download.create(), "\xEF\xBB\xBFtitle\r\nEUR;1");
    QCOMPARE(download.lines(), (QStringList{u"title"_s, u"EUR;1"_s}));
}

void TestDownloadFile::makesAMissingFolder()
{
    const QString folder = m_temp->filePath(u"not/yet"_s);
    DownloadFile download(folder);
    write(download.create(), "x");
    QCOMPARE(QFileInfo(download.path()).absolutePath(), folder);
}

void TestDownloadFile::folderThatCannotBeMade()
{
    QFile plain(m_temp->filePath(u"plain"_s));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    DownloadFile download(plain.fileName() + u"/sub"_s);
    try {
        download.create();
        QFAIL("a download file under a plain file was created");
    } catch (const SourceError &e) {
        QVERIFY2(e.message().startsWith(
                     u"A letöltési fájl nem hozható létre a(z) %1 mappában: "_s.arg(plain.fileName() + u"/sub"_s)),
                 qPrintable(e.message()));
    }
    QCOMPARE(download.path(), QString());
}

QTEST_GUILESS_MAIN(TestDownloadFile)
#include "TestDownloadFile.moc"
