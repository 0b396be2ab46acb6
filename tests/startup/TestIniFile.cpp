#include "startup/IniFile.h"

#include <QFile>
#include <QScopeGuard>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray windows1250(const QString &text)
{
    QStringEncoder encoder("windows-1250");
    return encoder(text);
}

} // namespace

class TestIniFile : public QObject {
    Q_OBJECT

private slots:
    void init();

    void readString_data();
    void readString();
    void textIsCutAt2047Characters();
    void readInteger_data();
    void readInteger();
    void readBool_data();
    void readBool();
    void sectionHasKeys_data();
    void sectionHasKeys();
    void windows1250FileReadsAndIsRewrittenAsUtf8();

    void writeReplacesValueInPlace();
    void writeAppendsKeyAtEndOfSection();
    void writeCreatesSectionAndFile();
    void writeKeepsTheFilesLineBreaks();
    void eraseRemovesEveryCopyOfTheSection();
    void eraseOfMissingSectionWritesNothing();
    void replaceSectionMovesItToTheEnd();
    void writeFailureNamesTheFile();
    void failedReplaceLeavesTheFileAsItWas();

    void badInput_data();
    void badInput();

private:
    QString iniPath() const { return m_dir->filePath(u"arfolyam.ini"_s); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestIniFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestIniFile::readString_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QString none = u"<default>"_s;
    QTest::newRow("plain") << "[S]\r\nK=v\r\n"_ba << u"S"_s << u"K"_s << u"v"_s;
    QTest::newRow("blanks around everything") << "  [ S ]  \n \t K \t=  a b \t\n"_ba << u"S"_s << u"K"_s << u"a b"_s;
    QTest::newRow("double quotes dropped") << "[S]\nK= \" a \" \n"_ba << u"S"_s << u"K"_s << u" a "_s;
    QTest::newRow("single quotes dropped") << "[S]\nK='x'\n"_ba << u"S"_s << u"K"_s << u"x"_s;
    QTest::newRow("only one pair dropped") << "[S]\nK=\"\"x\"\"\n"_ba << u"S"_s << u"K"_s << u"\"x\""_s;
    QTest::newRow("mismatched quotes kept") << "[S]\nK=\"x'\n"_ba << u"S"_s << u"K"_s << u"\"x'"_s;
    QTest::newRow("lone quote kept") << "[S]\nK=\"\n"_ba << u"S"_s << u"K"_s << u"\""_s;
    QTest::newRow("quotes inside kept") << "[S]\nK=a \"b\"\n"_ba << u"S"_s << u"K"_s << u"a \"b\""_s;
    QTest::newRow("value holds =") << "[S]\nK=a=b\n"_ba << u"S"_s << u"K"_s << u"a=b"_s;
    QTest::newRow("empty value is not the default") << "[S]\nK=\n"_ba << u"S"_s << u"K"_s << QString();
    QTest::newRow("section in lower case")
        << "[Magyar Nemzeti Bank]\nEUR=1\n"_ba << u"magyar nemzeti bank"_s << u"eur"_s << u"1"_s;
    QTest::newRow("accented letters in other case")
        << "[Országos TakarékPénztár]\nÁrfolyam=x\n"_ba << u"ORSZÁGOS TAKARÉKPÉNZTÁR"_s << u"árfolyam"_s << u"x"_s;
    QTest::newRow("first section wins") << "[S]\nA=1\n[T]\nK=t\n[s]\nK=2\n"_ba << u"S"_s << u"K"_s << none;
    QTest::newRow("first key wins") << "[S]\nK=1\nk=2\n"_ba << u"S"_s << u"K"_s << u"1"_s;
    QTest::newRow("key before any section ignored") << "K=v\n[S]\n"_ba << u"S"_s << u"K"_s << none;
    QTest::newRow("key of another section") << "[T]\nK=v\n[S]\n"_ba << u"S"_s << u"K"_s << none;
    QTest::newRow("line without = ignored") << "[S]\nK\nK v\nK=v\n"_ba << u"S"_s << u"K"_s << u"v"_s;
    QTest::newRow("comment ignored") << "[S]\n;K=c\nK=v\n"_ba << u"S"_s << u"K"_s << u"v"_s;
    QTest::newRow("header ends at last ]") << "[S] x ]\nK=v\n"_ba << u"S] x"_s << u"K"_s << u"v"_s;
    QTest::newRow("open bracket without ] is no header") << "[S]\n[T\nK=v\n"_ba << u"S"_s << u"K"_s << u"v"_s;
    QTest::newRow("bare CR line breaks") << "[S]\rA=1\rK=v\r"_ba << u"S"_s << u"K"_s << u"v"_s;
    QTest::newRow("no final line break") << "[S]\nK=v"_ba << u"S"_s << u"K"_s << u"v"_s;
    QTest::newRow("UTF-8 byte order mark") << "\xEF\xBB\xBF[S]\nK=v\n"_ba << u"S"_s << u"K"_s << u"v"_s;
    QTest::newRow("missing key") << "[S]\nA=1\n"_ba << u"S"_s << u"K"_s << none;
    QTest::newRow("empty file") << QByteArray() << u"S"_s << u"K"_s << none;
}

void TestIniFile::readString()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    writeBytes(iniPath(), content);
    QCOMPARE(IniFile(iniPath()).readString(section, key, u"<default>"_s), expected);
}

void TestIniFile::textIsCutAt2047Characters()
{
    const QByteArray value(5000, 'x');
    writeBytes(iniPath(), "[S]\nK=\"" + value + "\"\nL=" + value.left(2047) + "\n");
    const IniFile ini(iniPath());
    QCOMPARE(ini.readString(u"S"_s, u"K"_s, QString()), QString(2047, u'x'));
    QCOMPARE(ini.readString(u"S"_s, u"L"_s, QString()), QString(2047, u'x'));
}

void TestIniFile::readInteger_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("expected");

    QTest::newRow("decimal") << "31"_ba << 31;
    QTest::newRow("plus sign") << "+5"_ba << 5;
    QTest::newRow("minus sign") << "-12"_ba << -12;
    QTest::newRow("0x") << "0x1F"_ba << 31;
    QTest::newRow("0X") << "0X1f"_ba << 31;
    QTest::newRow("dollar") << "$1F"_ba << 31;
    QTest::newRow("largest") << "0x7FFFFFFF"_ba << 2147483647;
    QTest::newRow("smallest") << "-2147483648"_ba << int(INT32_MIN);
    QTest::newRow("quoted") << "\"42\""_ba << 42;
    QTest::newRow("letters") << "abc"_ba << 7;
    QTest::newRow("empty") << ""_ba << 7;
    QTest::newRow("trailing letters") << "12abc"_ba << 7;
    QTest::newRow("inner blank") << "1 2"_ba << 7;
    QTest::newRow("prefix alone") << "0x"_ba << 7;
    QTest::newRow("dollar alone") << "$"_ba << 7;
    QTest::newRow("no hex digit") << "0xG"_ba << 7;
    QTest::newRow("sign on hex") << "-0x1F"_ba << 7;
    QTest::newRow("decimal overflow") << "2147483648"_ba << 7;
    QTest::newRow("hex overflow") << "0x80000000"_ba << 7;
    QTest::newRow("decimal point") << "1.5"_ba << 7;
}

void TestIniFile::readInteger()
{
    QFETCH(QByteArray, value);
    QFETCH(int, expected);
    writeBytes(iniPath(), "[S]\nK=" + value + "\n");
    QCOMPARE(IniFile(iniPath()).readInteger(u"S"_s, u"K"_s, 7), expected);
}

void TestIniFile::readBool_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("defaultValue");
    QTest::addColumn<bool>("expected");

    QTest::newRow("1") << "1"_ba << false << true;
    QTest::newRow("2") << "2"_ba << false << true;
    QTest::newRow("-1") << "-1"_ba << false << true;
    QTest::newRow("0 over default on") << "0"_ba << true << false;
    QTest::newRow("0x0") << "0x0"_ba << true << false;
    QTest::newRow("yes keeps default off") << "yes"_ba << false << false;
    QTest::newRow("yes keeps default on") << "yes"_ba << true << true;
    QTest::newRow("empty keeps default on") << ""_ba << true << true;
}

void TestIniFile::readBool()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, defaultValue);
    QFETCH(bool, expected);
    writeBytes(iniPath(), "[S]\nK=" + value + "\n");
    QCOMPARE(IniFile(iniPath()).readBool(u"S"_s, u"K"_s, defaultValue), expected);
}

void TestIniFile::sectionHasKeys_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("expected");

    QTest::newRow("one key") << "[Proxy Settings]\nProxyPort=8080\n"_ba << true;
    QTest::newRow("key with empty value") << "[Proxy Settings]\nProxyServer=\n"_ba << true;
    QTest::newRow("other case") << "[PROXY SETTINGS]\nx=1\n"_ba << true;
    QTest::newRow("empty section") << "[Proxy Settings]\n\n[Other]\nx=1\n"_ba << false;
    QTest::newRow("comments and garbage only") << "[Proxy Settings]\n; note\ngarbage\n"_ba << false;
    QTest::newRow("empty first copy") << "[Proxy Settings]\n[Proxy Settings]\nx=1\n"_ba << false;
    QTest::newRow("absent") << "[Other]\nx=1\n"_ba << false;
}

void TestIniFile::sectionHasKeys()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, expected);
    writeBytes(iniPath(), content);
    QCOMPARE(IniFile(iniPath()).sectionHasKeys(u"Proxy Settings"_s), expected);
}

void TestIniFile::windows1250FileReadsAndIsRewrittenAsUtf8()
{
    writeBytes(iniPath(), windows1250(u"; Kézzel írva\r\n[Országos TakarékPénztár]\r\nEUR=1\r\nNév=Árvíztűrő\r\n"_s));
    IniFile ini(iniPath());
    QCOMPARE(ini.readString(u"országos takarékpénztár"_s, u"név"_s, QString()), u"Árvíztűrő"_s);

    ini.writeBool(u"Országos TakarékPénztár"_s, u"USD"_s, true);
    QCOMPARE(readBytes(iniPath()),
             u"; Kézzel írva\r\n[Országos TakarékPénztár]\r\nEUR=1\r\nNév=Árvíztűrő\r\nUSD=1\r\n"_s.toUtf8());
    QCOMPARE(ini.readString(u"Országos TakarékPénztár"_s, u"Név"_s, QString()), u"Árvíztűrő"_s);
}

void TestIniFile::writeReplacesValueInPlace()
{
    writeBytes(
        iniPath(),
        "; top\r\n[A]\r\nK=1\r\n[S]\r\n  Key = old value  \r\nunknown line\r\nkey=second\r\n\r\n[B]\r\nK=2\r\n"_ba);
    IniFile(iniPath()).writeString(u"s"_s, u"KEY"_s, u"new"_s);
    QCOMPARE(readBytes(iniPath()),
             "; top\r\n[A]\r\nK=1\r\n[S]\r\nKey=new\r\nunknown line\r\nkey=second\r\n\r\n[B]\r\nK=2\r\n"_ba);
}

void TestIniFile::writeAppendsKeyAtEndOfSection()
{
    writeBytes(iniPath(), "[S]\r\nA=1\r\ngarbage\r\n\r\n; about B\r\n[B]\r\nK=2\r\n"_ba);
    IniFile ini(iniPath());
    ini.writeString(u"S"_s, u"C"_s, u"3"_s);
    QCOMPARE(readBytes(iniPath()), "[S]\r\nA=1\r\nC=3\r\ngarbage\r\n\r\n; about B\r\n[B]\r\nK=2\r\n"_ba);

    writeBytes(iniPath(), "[S]\r\n[B]\r\n"_ba);
    ini.writeString(u"S"_s, u"C"_s, u"3"_s);
    QCOMPARE(readBytes(iniPath()), "[S]\r\nC=3\r\n[B]\r\n"_ba);
}

void TestIniFile::writeCreatesSectionAndFile()
{
    IniFile ini(iniPath());
    ini.writeString(u"Országos TakarékPénztár"_s, u"EUR"_s, u"1"_s);
    QCOMPARE(readBytes(iniPath()), u"[Országos TakarékPénztár]\r\nEUR=1\r\n"_s.toUtf8());

    ini.writeString(u"Proxy Settings"_s, u"ProxyPort"_s, u"8080"_s);
    QCOMPARE(readBytes(iniPath()),
             u"[Országos TakarékPénztár]\r\nEUR=1\r\n\r\n[Proxy Settings]\r\nProxyPort=8080\r\n"_s.toUtf8());
    QCOMPARE(ini.readInteger(u"proxy settings"_s, u"proxyport"_s, 0), 8080);
}

void TestIniFile::writeKeepsTheFilesLineBreaks()
{
    writeBytes(iniPath(), "[S]\nA=1"_ba);
    IniFile(iniPath()).writeBool(u"S"_s, u"B"_s, false);
    QCOMPARE(readBytes(iniPath()), "[S]\nA=1\nB=0\n"_ba);
}

void TestIniFile::eraseRemovesEveryCopyOfTheSection()
{
    writeBytes(iniPath(), "; top\r\n[S]\r\nA=1\r\n; note\r\n[B]\r\nK=2\r\n[s]\r\nA=3\r\n"_ba);
    IniFile ini(iniPath());
    ini.eraseSection(u"S"_s);
    QCOMPARE(readBytes(iniPath()), "; top\r\n[B]\r\nK=2\r\n"_ba);
    QCOMPARE(ini.readString(u"S"_s, u"A"_s, u"none"_s), u"none"_s);
}

void TestIniFile::eraseOfMissingSectionWritesNothing()
{
    IniFile ini(iniPath());
    ini.eraseSection(u"S"_s);
    QVERIFY(!QFile::exists(iniPath()));

    // Bytes that a rewrite would turn into UTF-8 stay as they are.
    const QByteArray cp1250 = windows1250(u"[Országos TakarékPénztár]\nEUR=1\n"_s);
    writeBytes(iniPath(), cp1250);
    ini.eraseSection(u"Magyar Nemzeti Bank"_s);
    QCOMPARE(readBytes(iniPath()), cp1250);
}

void TestIniFile::replaceSectionMovesItToTheEnd()
{
    writeBytes(iniPath(), "[S]\r\nOLD=1\r\n[B]\r\nK=2\r\n"_ba);
    IniFile(iniPath()).replaceSection(u"s"_s, {{u"EUR"_s, u"1"_s}, {u"USD"_s, u"0"_s}, {u"eur"_s, u"0"_s}});
    QCOMPARE(readBytes(iniPath()), "[B]\r\nK=2\r\n\r\n[s]\r\nEUR=0\r\nUSD=0\r\n"_ba);
}

void TestIniFile::writeFailureNamesTheFile()
{
    // A parent that is a regular file stops the write for root as well.
    const QString blocker = m_dir->filePath(u"not-a-folder"_s);
    writeBytes(blocker, "x"_ba);
    const QString path = blocker + u"/arfolyam.ini"_s;
    try {
        IniFile(path).writeString(u"S"_s, u"K"_s, u"v"_s);
        QFAIL("the write did not fail");
    } catch (const IniWriteError &error) {
        QCOMPARE(error.message(), u"Unable to write to "_s + path);
        QCOMPARE(QString::fromUtf8(error.what()), error.message());
    }
}

void TestIniFile::failedReplaceLeavesTheFileAsItWas()
{
    const QByteArray before = "[S]\r\nEUR=1\r\n"_ba;
    writeBytes(iniPath(), before);
    QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner));
    const auto restore = qScopeGuard(
        [&] { QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); });
    QFile probe(m_dir->filePath(u"probe"_s));
    if (probe.open(QIODevice::WriteOnly))
        QSKIP("A read-only folder does not stop this user from writing.");

    IniFile ini(iniPath());
    QVERIFY_THROWS_EXCEPTION(IniWriteError, ini.replaceSection(u"S"_s, {{u"USD"_s, u"1"_s}}));
    QVERIFY_THROWS_EXCEPTION(IniWriteError, ini.eraseSection(u"S"_s));
    QCOMPARE(readBytes(iniPath()), before);
}

void TestIniFile::badInput_data()
{
    QTest::addColumn<QByteArray>("garbage");
    QTest::addColumn<QString>("expectedK");

    QByteArray everyByte;
    for (int i = 0; i < 256; ++i)
        everyByte += char(i);
    QTest::newRow("every byte value") << everyByte.repeated(64) << u"v"_s;
    QTest::newRow("NULs") << "\0\0[S\0]\0K=\0\n"_ba << u"v"_s;
    QTest::newRow("NUL inside the value") << "[S]\nK=a\0b\n"_ba << u"a\0b"_s;
    QTest::newRow("garbage lines") << "]]]]\n[\n=\n==\n[]\n=x\n;;\n"_ba << u"v"_s;
    QTest::newRow("invalid UTF-8 in a key") << "[T]\nK\xFF=1\n"_ba << u"v"_s;
    QTest::newRow("long line") << QByteArray(4 << 20, 'a') << u"v"_s;
    QTest::newRow("huge value") << "[S]\nK=" + QByteArray(16 << 20, 'h') + "\n" << QString(2047, u'h');
}

// Whatever comes first, the file still reads and a write keeps it readable.
void TestIniFile::badInput()
{
    QFETCH(QByteArray, garbage);
    QFETCH(QString, expectedK);
    writeBytes(iniPath(), garbage + "\n[S]\nK=v\n");
    IniFile ini(iniPath());
    QCOMPARE(ini.readString(u"S"_s, u"K"_s, QString()), expectedK);
    QCOMPARE(ini.readInteger(u"S"_s, u"K"_s, 5), 5);

    ini.writeString(u"S"_s, u"New"_s, u"1"_s);
    QCOMPARE(ini.readString(u"S"_s, u"K"_s, QString()), expectedK);
    QVERIFY(ini.readBool(u"S"_s, u"New"_s, false));
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "TestIniFile.moc"
