#include "platform/profile/profile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using velmora::ProfileFile;

namespace {

// What a read gives when the profile has no answer; no row of the tables expects it by accident.
const QString kDefault = QStringLiteral("<default>");
constexpr int kDefaultInteger = -4242;

// A value of the given length whose last character differs from the rest, so a cut shows.
QString valueOfLength(qsizetype length) {
    QString value(length - 1, QLatin1Char('a'));
    value.append(QLatin1Char('z'));
    return value;
}

} // namespace

class TestProfile : public QObject {
    Q_OBJECT

private slots:
    void readString_data();
    void readString();
    void readInteger_data();
    void readInteger();
    void longValuesAreCut_data();
    void longValuesAreCut();
    void lineEnds_data();
    void lineEnds();
    void missingGivesDefaults();
    void fileOnDiskWithByteOrderMark();
    void sectionAndKeyNames();

private:
    QTemporaryDir m_dir;
};

void TestProfile::readString_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    // A call per row, which keeps each case on a line or two.
    const auto row = [](const char* name, const QByteArray& file, const QString& section,
                        const QString& key, const QString& expected) {
        QTest::newRow(name) << file << section << key << expected;
    };

    row("plain", QByteArray("[Lang]\nTitle=Velmora\n"), "Lang", "Title", "Velmora");
    row("section name ignores case", QByteArray("[Lang]\nTitle=v\n"), "lANG", "Title", "v");
    row("key name ignores case", QByteArray("[Lang]\nTitle=v\n"), "Lang", "TITLE", "v");
    row("cyrillic names ignore case", QByteArray("[Язык]\nЗаголовок=Решение\n"),
        QStringLiteral("ЯЗЫК"), QStringLiteral("заголовок"), QStringLiteral("Решение"));
    row("cyrillic yo ignores case", QByteArray("[Ёлка]\nёж=1\n"), QStringLiteral("ёЛКА"),
        QStringLiteral("ЁЖ"), "1");
    row("line, name and value trimmed",
        QByteArray("  \t[ Lang\t]  \n \tTitle \t=\t  two  words \t \n"), "Lang", "Title",
        "two  words");
    row("no-break space is not trimmed", QByteArray("[S]\nk=\xC2\xA0v\xC2\xA0\n"), "S", "k",
        QStringLiteral("\u00A0v\u00A0"));
    row("split at the first equals sign", QByteArray("[S]\nk = a=b\n"), "S", "k", "a=b");
    row("empty value is not the default", QByteArray("[S]\nk=\n"), "S", "k", "");
    row("double quotes removed", QByteArray("[S]\nk=\" a b \"\n"), "S", "k", " a b ");
    row("single quotes removed", QByteArray("[S]\nk='a b'\n"), "S", "k", "a b");
    row("empty quotes", QByteArray("[S]\nk=\"\"\n"), "S", "k", "");
    row("lone quote kept", QByteArray("[S]\nk=\"\n"), "S", "k", "\"");
    row("mixed quotes kept", QByteArray("[S]\nk=\"a'\n"), "S", "k", "\"a'");
    row("opening quote only kept", QByteArray("[S]\nk='abc\n"), "S", "k", "'abc");
    row("closing quote only kept", QByteArray("[S]\nk=abc\"\n"), "S", "k", "abc\"");
    row("inner quotes kept", QByteArray("[S]\nk=a \"b\" c\n"), "S", "k", "a \"b\" c");
    row("one pair removed of two", QByteArray("[S]\nk=\"\"x\"\"\n"), "S", "k", "\"x\"");
    row("no inline comment", QByteArray("[S]\nk=a ;x\n"), "S", "k", "a ;x");
    row("comment line skipped", QByteArray("[S]\n;k=1\n  ;k=2\nk=3\n"), "S", "k", "3");
    row("commented header opens nothing", QByteArray("[S]\n;[T]\nk=1\n"), "S", "k", "1");
    row("hash is no comment", QByteArray("[S]\n#k=1\n"), "S", "#k", "1");
    row("first of duplicate keys", QByteArray("[S]\nk=1\nK=2\nk=3\n"), "S", "k", "1");
    row("first of duplicate sections", QByteArray("[S]\nk=1\n[s]\nk=2\n"), "S", "k", "1");
    row("duplicate section does not merge", QByteArray("[S]\nk=1\n[S]\nonly=2\n"), "S", "only",
        kDefault);
    row("keys under a repeated header go nowhere", QByteArray("[A]\na=1\n[B]\nb=1\n[a]\nc=3\n"),
        "B", "c", kDefault);
    row("header name ends at the last bracket", QByteArray("[a]b] tail\nk=1\n"), "a]b", "k", "1");
    row("text after the bracket ignored", QByteArray("[S] ; note\nk=1\n"), "S", "k", "1");
    row("header without bracket named by the rest", QByteArray("[ Lang \nk=1\n"), "Lang", "k", "1");
    row("empty section name", QByteArray("[]\nk=1\n"), "", "k", "1");
    row("key 1 is not key 01", QByteArray("[S]\n01=a\n1=b\n"), "S", "1", "b");
    row("key 01 is not key 1", QByteArray("[S]\n1=b\n01=a\n"), "S", "01", "a");
    row("line without equals not a key", QByteArray("[S]\nflag\n"), "S", "flag", kDefault);
    row("key before any section", QByteArray("k=1\n[S]\nj=2\n"), "S", "k", kDefault);
    row("key before any section is not in the empty section", QByteArray("k=1\n[S]\n"), "", "k",
        kDefault);
    row("byte-order mark", QByteArray("\xEF\xBB\xBF[S]\nk=1\n"), "S", "k", "1");
    row("no final line end", QByteArray("[S]\nk=last"), "S", "k", "last");
    row("missing section", QByteArray("[S]\nk=1\n"), "T", "k", kDefault);
    row("missing key", QByteArray("[S]\nk=1\n"), "S", "j", kDefault);
    row("empty file", QByteArray(), "S", "k", kDefault);
}

void TestProfile::readString() {
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    const ProfileFile profile = ProfileFile::parse(file);
    QCOMPARE(profile.readString(section, key, kDefault), expected);
    QCOMPARE(profile.hasKey(section, key), expected != kDefault);
}

void TestProfile::readInteger_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("expected");

    constexpr int max = std::numeric_limits<int>::max();
    constexpr int min = std::numeric_limits<int>::min();

    QTest::newRow("decimal") << QByteArray("12") << 12;
    QTest::newRow("negative") << QByteArray("-12") << -12;
    QTest::newRow("plus sign") << QByteArray("+7") << 7;
    QTest::newRow("zero") << QByteArray("0") << 0;
    QTest::newRow("minus zero") << QByteArray("-0") << 0;
    QTest::newRow("leading zeros are decimal") << QByteArray("010") << 10;
    QTest::newRow("largest") << QByteArray("2147483647") << max;
    QTest::newRow("smallest") << QByteArray("-2147483648") << min;
    QTest::newRow("spaces inside quotes trimmed") << QByteArray("\" 12\t\"") << 12;
    QTest::newRow("quoted") << QByteArray("'-3'") << -3;
    QTest::newRow("hex 0x") << QByteArray("0x1F") << 31;
    QTest::newRow("hex 0X lower digits") << QByteArray("0X1f") << 31;
    QTest::newRow("hex dollar") << QByteArray("$1F") << 31;
    QTest::newRow("hex largest int") << QByteArray("0x7FFFFFFF") << max;
    QTest::newRow("hex all 32 bits") << QByteArray("0xFFFFFFFF") << -1;
    QTest::newRow("hex sign bit") << QByteArray("$80000000") << min;
    QTest::newRow("hex leading zeros") << QByteArray("0x0000000000ff") << 255;

    QTest::newRow("empty") << QByteArray("") << kDefaultInteger;
    QTest::newRow("letters") << QByteArray("abc") << kDefaultInteger;
    QTest::newRow("trailing letters") << QByteArray("12abc") << kDefaultInteger;
    QTest::newRow("fraction") << QByteArray("1.5") << kDefaultInteger;
    QTest::newRow("inner space") << QByteArray("1 2") << kDefaultInteger;
    QTest::newRow("sign alone") << QByteArray("-") << kDefaultInteger;
    QTest::newRow("space after sign") << QByteArray("- 5") << kDefaultInteger;
    QTest::newRow("two signs") << QByteArray("+-5") << kDefaultInteger;
    QTest::newRow("above int") << QByteArray("2147483648") << kDefaultInteger;
    QTest::newRow("below int") << QByteArray("-2147483649") << kDefaultInteger;
    QTest::newRow("far above 64 bits") << QByteArray("99999999999999999999999") << kDefaultInteger;
    QTest::newRow("hex prefix alone") << QByteArray("0x") << kDefaultInteger;
    QTest::newRow("dollar alone") << QByteArray("$") << kDefaultInteger;
    QTest::newRow("bad hex digit") << QByteArray("0x1G") << kDefaultInteger;
    QTest::newRow("hex past 32 bits") << QByteArray("0x100000000") << kDefaultInteger;
    QTest::newRow("signed hex") << QByteArray("-0x1F") << kDefaultInteger;
    QTest::newRow("arabic-indic digits") << QByteArray("\xD9\xA1\xD9\xA2") << kDefaultInteger;
    QTest::newRow("fullwidth digits") << QByteArray("\xEF\xBC\x91\xEF\xBC\x92") << kDefaultInteger;
}

void TestProfile::readInteger() {
    QFETCH(QByteArray, value);
    QFETCH(int, expected);

    const ProfileFile profile = ProfileFile::parse("[Numbers]\nValue=" + value + "\n");
    QCOMPARE(profile.readInteger(u"numbers", u"VALUE", kDefaultInteger), expected);
}

void TestProfile::longValuesAreCut_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");

    const qsizetype max = ProfileFile::MaxValueLength;
    const QString smile = QStringLiteral("\U0001F600");
    const QString cyrillic2048 = QString(max + 1, QChar(u'я'));

    QTest::newRow("2047 kept") << valueOfLength(max) << valueOfLength(max);
    QTest::newRow("2048 cut") << valueOfLength(max + 1) << valueOfLength(max + 1).first(max);
    QTest::newRow("5000 cut") << valueOfLength(5000) << valueOfLength(5000).first(max);
    // UTF-8 takes two bytes for each of these; the limit counts characters, not bytes.
    QTest::newRow("cyrillic 2048 cut by units") << cyrillic2048 << cyrillic2048.first(max);
    QTest::newRow("pair that fits kept")
        << QString(max - 2, QLatin1Char('a')) + smile + QStringLiteral("tail")
        << QString(max - 2, QLatin1Char('a')) + smile;
    QTest::newRow("pair across the cut dropped")
        << QString(max - 1, QLatin1Char('a')) + smile << QString(max - 1, QLatin1Char('a'));
    // The quotes go first, so the 2047 units inside them are all kept.
    QTest::newRow("quotes removed before the cut")
        << QLatin1Char('"') + valueOfLength(max) + QLatin1Char('"') << valueOfLength(max);
}

void TestProfile::longValuesAreCut() {
    QFETCH(QString, value);
    QFETCH(QString, expected);

    const ProfileFile profile =
        ProfileFile::parse(QStringLiteral("[S]\nk=%1\nnext=1\n").arg(value).toUtf8());
    const QString read = profile.readString(u"S", u"k", kDefault);
    QCOMPARE(read.size(), expected.size());
    QCOMPARE(read, expected);
    // The long line did not disturb the one after it.
    QCOMPARE(profile.readInteger(u"S", u"next", kDefaultInteger), 1);
}

void TestProfile::lineEnds_data() {
    QTest::addColumn<QByteArray>("file");

    QTest::newRow("LF") << QByteArray("[A]\nx=1\ny=2\n\n[B]\nz=3\n");
    QTest::newRow("CRLF") << QByteArray("[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n");
    QTest::newRow("CR") << QByteArray("[A]\rx=1\ry=2\r\r[B]\rz=3\r");
    QTest::newRow("mixed") << QByteArray("[A]\r\nx=1\ry=2\n\r\n[B]\rz=3");
}

void TestProfile::lineEnds() {
    QFETCH(QByteArray, file);

    // Every value is whole: no line end is left in it or swallows the next line.
    const ProfileFile profile = ProfileFile::parse(file);
    QCOMPARE(profile.readString(u"A", u"x", kDefault), QStringLiteral("1"));
    QCOMPARE(profile.readString(u"A", u"y", kDefault), QStringLiteral("2"));
    QCOMPARE(profile.readString(u"B", u"z", kDefault), QStringLiteral("3"));
    QCOMPARE(profile.sectionNames(), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    QCOMPARE(profile.keyNames(u"A"), (QStringList{QStringLiteral("x"), QStringLiteral("y")}));
}

void TestProfile::missingGivesDefaults() {
    QVERIFY(m_dir.isValid());
    const ProfileFile profile = ProfileFile::load(m_dir.filePath(QStringLiteral("absent.lng")));
    QVERIFY(!profile.hasSection(u"Lang"));
    QCOMPARE(profile.readString(u"Lang", u"Title", kDefault), kDefault);
    QCOMPARE(profile.readInteger(u"Lang", u"Count", 7), 7);
    QVERIFY(profile.sectionNames().isEmpty());
    QVERIFY(profile.keyNames(u"Lang").isEmpty());

    // A folder in the file's place reads as no file too.
    const ProfileFile folder = ProfileFile::load(m_dir.path());
    QCOMPARE(folder.readString(u"Lang", u"Title", kDefault), kDefault);

    // A missing section or key gives the caller's number, whatever it is.
    const ProfileFile present = ProfileFile::parse("[Lang]\nCount=5\n");
    QCOMPARE(present.readInteger(u"Other", u"Count", 7), 7);
    QCOMPARE(present.readInteger(u"Lang", u"Total", -1), -1);
    QCOMPARE(present.readInteger(u"Lang", u"Count", 7), 5);
}

void TestProfile::fileOnDiskWithByteOrderMark() {
    QVERIFY(m_dir.isValid());
    const QString path = m_dir.filePath(QStringLiteral("russian.lng"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QByteArray bytes = "\xEF\xBB\xBF[Язык]\r\nНазвание=Калькулятор\r\nЧисло=$10\r\n";
    QCOMPARE(file.write(bytes), bytes.size());
    file.close();

    const ProfileFile profile = ProfileFile::load(path);
    QVERIFY(profile.hasSection(u"язык"));
    QCOMPARE(profile.sectionNames(), QStringList{QStringLiteral("Язык")});
    QCOMPARE(profile.readString(u"ЯЗЫК", u"название", kDefault), QStringLiteral("Калькулятор"));
    QCOMPARE(profile.readInteger(u"Язык", u"ЧИСЛО", kDefaultInteger), 16);
}

void TestProfile::sectionAndKeyNames() {
    const ProfileFile profile = ProfileFile::parse("top=0\n"
                                                   "[Update]\n"
                                                   "Version=3.3\n"
                                                   "Line 1=first\n"
                                                   "Line 2=\n"
                                                   "line 1=again\n"
                                                   "Line 3\n"
                                                   "; Line 4=commented\n"
                                                   "Line 10=tenth\n"
                                                   "[Empty]\n"
                                                   "[UPDATE]\n"
                                                   "Line 5=from a repeated section\n"
                                                   "[Other]\n"
                                                   "Line 6=elsewhere\n");

    // Spelled as written and in file order; each name once, and only names a read finds.
    QCOMPARE(profile.sectionNames(), (QStringList{QStringLiteral("Update"), QStringLiteral("Empty"),
                                                  QStringLiteral("Other")}));
    QCOMPARE(profile.keyNames(u"update"),
             (QStringList{QStringLiteral("Version"), QStringLiteral("Line 1"),
                          QStringLiteral("Line 2"), QStringLiteral("Line 10")}));
    // Each listed name reads its own value: the first of its spelling, after the repeat dropped.
    const QStringList names = profile.keyNames(u"Update");
    const QStringList values{QStringLiteral("3.3"), QStringLiteral("first"), QString(),
                             QStringLiteral("tenth")};
    for (qsizetype i = 0; i < names.size(); ++i)
        QCOMPARE(profile.readString(u"Update", names.at(i), kDefault), values.at(i));

    QVERIFY(profile.hasSection(u"EMPTY"));
    QVERIFY(profile.keyNames(u"Empty").isEmpty());
    QCOMPARE(profile.readString(u"Empty", u"Line 5", kDefault), kDefault);
    QVERIFY(!profile.hasSection(u"Missing"));
    QVERIFY(profile.keyNames(u"Missing").isEmpty());
}

QTEST_GUILESS_MAIN(TestProfile)

#include "tst_profile.moc"
