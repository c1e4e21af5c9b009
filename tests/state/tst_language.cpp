// The language loader over fixture files (a missing file, a file with one section, names that
// select no file), the three shipped language files and the More table's own words against them,
// the toolkit's own texts that follow the language, and where data files are looked for.
#include "platform/base/datafiles.h"
#include "state/global.h"
#include "state/language.h"
#include "state/moretexts.h"
#include "tests/support/captionlanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

using velmora::TextTable;

// The last line of the More table the program uses.
constexpr int LastMoreLine = static_cast<int>(velmora::MoreText::EquationInputTooLong);
namespace Global = velmora::Global;

namespace {

constexpr TextTable kTables[] = {
    TextTable::MainMenu, TextTable::SquareRoot, TextTable::Trigonometry, TextTable::Settings,
    TextTable::About,    TextTable::Update,     TextTable::Messages,     TextTable::More};

void fillTables(const QString& text) {
    for (TextTable table : kTables)
        for (int line = 1; line <= Global::LinesPerTable; ++line)
            Global::setText(table, line, text);
}

// Every entry as "Section n=text", in table order.
QStringList allEntries() {
    QStringList entries;
    for (TextTable table : kTables)
        for (int line = 1; line <= Global::LinesPerTable; ++line)
            entries << QStringLiteral("%1 %2=%3")
                           .arg(velmora::tableSection(table))
                           .arg(line)
                           .arg(Global::text(table, line));
    return entries;
}

// All entries "old" but the ones given.
QStringList oldEntriesExcept(const QMap<QString, QString>& changed, const QString& rest) {
    QStringList entries;
    for (TextTable table : kTables)
        for (int line = 1; line <= Global::LinesPerTable; ++line) {
            const QString place =
                QStringLiteral("%1 %2").arg(velmora::tableSection(table)).arg(line);
            entries << place + QLatin1Char('=') + changed.value(place, rest);
        }
    return entries;
}

// The program's own words of each More line, as it shows them when the loaded file has none:
// every line that has them, so every line of the table's enum.
QMap<int, QString> moreFallbacks() {
    for (int line = 1; line <= Global::MoreLines; ++line)
        Global::setText(TextTable::More, line, QString());
    QMap<int, QString> fallbacks;
    for (int line = 1; line <= Global::MoreLines; ++line) {
        const QString text = velmora::moreText(static_cast<velmora::MoreText>(line));
        if (!text.isEmpty())
            fallbacks.insert(line, text);
    }
    return fallbacks;
}

} // namespace

class TstLanguage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void languageFileOfName_data();
    void languageFileOfName();
    void loadFixture_data();
    void loadFixture();
    void shippedFilesAreComplete_data();
    void shippedFilesAreComplete();
    void moreFallbacksMatchTheShippedFiles_data();
    void moreFallbacksMatchTheShippedFiles();
    void shippedFilesSpeakTheirLanguage_data();
    void shippedFilesSpeakTheirLanguage();
    void toolkitTextsFollowTheLanguage_data();
    void toolkitTextsFollowTheLanguage();
    void dataFilesAreLookedUpInOrder();

private:
    void writeFixture(const QString& name, const QByteArray& contents);

    QTemporaryDir m_data;
};

void TstLanguage::initTestCase() {
    QVERIFY(m_data.isValid());
    QVERIFY(QDir(m_data.path()).mkpath(QStringLiteral("language")));
}

void TstLanguage::init() {
    qputenv("VELMORA_DATA_DIR", m_data.path().toLocal8Bit());
    QDir(m_data.filePath(QStringLiteral("language"))).removeRecursively();
    QVERIFY(QDir(m_data.path()).mkpath(QStringLiteral("language")));
    fillTables(QStringLiteral("old"));
}

void TstLanguage::writeFixture(const QString& name, const QByteArray& contents) {
    QFile file(m_data.filePath(QStringLiteral("language/%1.lng").arg(name)));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

void TstLanguage::languageFileOfName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::newRow("Russian") << "Russian"
                             << "language/Russian.lng";
    QTest::newRow("English") << "English"
                             << "language/English.lng";
    QTest::newRow("Ukrainian") << "Ukrainian"
                               << "language/Ukrainian.lng";
    QTest::newRow("lower case selects nothing") << "russian"
                                                << "";
    QTest::newRow("trailing space selects nothing") << "English "
                                                    << "";
    QTest::newRow("empty selects nothing") << ""
                                           << "";
    QTest::newRow("another language selects nothing") << "German"
                                                      << "";
}

void TstLanguage::languageFileOfName() {
    QFETCH(QString, name);
    QFETCH(QString, file);
    QCOMPARE(velmora::languageFile(name), file);
}

void TstLanguage::loadFixture_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("russianFile"); // empty: no file at all
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("missing file empties all 104 entries")
        << "Russian" << QByteArray() << oldEntriesExcept({}, QString());
    QTest::newRow("a file with Messages only")
        << "Russian" << QByteArray("[Messages]\n1=Note\n13=Newer\n")
        << oldEntriesExcept({{"Messages 1", "Note"}, {"Messages 13", "Newer"}}, QString());
    QTest::newRow("keys 01 and 14 are not lines")
        << "Russian" << QByteArray("[Main Menu]\n01=zero one\n1=one\n14=fourteen\n")
        << oldEntriesExcept({{"Main Menu 1", "one"}}, QString());
    QTest::newRow("every section read in its table")
        << "Russian"
        << QByteArray("[more]\n1=w\n[messages]\n2=m\n[Update]\n12=u\n[About]\n3=a\n"
                      "[Settings]\n8=360\n[Trigonometry]\n5=t\n[Square root]\n11=s\n"
                      "[Main Menu]\n4=v\n")
        << oldEntriesExcept({{"More 1", "w"},
                             {"Messages 2", "m"},
                             {"Update 12", "u"},
                             {"About 3", "a"},
                             {"Settings 8", "360"},
                             {"Trigonometry 5", "t"},
                             {"Square root 11", "s"},
                             {"Main Menu 4", "v"}},
                            QString());
    QTest::newRow("unknown name keeps the tables")
        << "German" << QByteArray("[Messages]\n1=Note\n") << oldEntriesExcept({}, "old");
    QTest::newRow("empty name keeps the tables")
        << "" << QByteArray("[Messages]\n1=Note\n") << oldEntriesExcept({}, "old");
    QTest::newRow("lower-case name keeps the tables")
        << "russian" << QByteArray("[Messages]\n1=Note\n") << oldEntriesExcept({}, "old");
}

void TstLanguage::loadFixture() {
    QFETCH(QString, name);
    QFETCH(QByteArray, russianFile);
    QFETCH(QStringList, entries);
    if (!russianFile.isEmpty())
        writeFixture(QStringLiteral("Russian"), russianFile);
    velmora::loadLanguage(name);
    QCOMPARE(allEntries(), entries);
}

void TstLanguage::shippedFilesAreComplete_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("Russian") << "Russian";
    QTest::newRow("English") << "English";
    QTest::newRow("Ukrainian") << "Ukrainian";
}

void TstLanguage::shippedFilesAreComplete() {
    QFETCH(QString, name);
    qputenv("VELMORA_DATA_DIR", QByteArray(VELMORA_SOURCE_DIR));
    fillTables(QString());
    velmora::loadLanguage(name);

    // Lines the windows and boxes use; the rest of each table is unused ("Messages" line 6
    // among them).
    const std::pair<TextTable, int> used[] = {
        {TextTable::MainMenu, 13}, {TextTable::SquareRoot, 11},    {TextTable::Trigonometry, 5},
        {TextTable::Settings, 12}, {TextTable::About, 12},         {TextTable::Update, 12},
        {TextTable::Messages, 13}, {TextTable::More, LastMoreLine}};
    QStringList empty;
    for (const auto& [table, last] : used)
        for (int line = 1; line <= last; ++line)
            if (line != 6 || table != TextTable::Messages)
                if (Global::text(table, line).trimmed().isEmpty())
                    empty << QStringLiteral("%1 %2").arg(velmora::tableSection(table)).arg(line);
    QCOMPARE(empty, QStringList());

    for (int line : {3, 8}) {
        bool integer = false;
        Global::text(TextTable::Settings, line).toInt(&integer);
        QVERIFY2(integer, qPrintable(Global::text(TextTable::Settings, line)));
    }
    // The update dialog's feature button shows line 10 while folded and 11 while unfolded.
    QVERIFY(Global::text(TextTable::Update, 10) != Global::text(TextTable::Update, 11));
    // The texts that name a file carry its place once.
    for (const int line : {3, 6, 9})
        QCOMPARE(Global::text(TextTable::More, line).count(QLatin1String("%1")), 1);
}

void TstLanguage::moreFallbacksMatchTheShippedFiles_data() {
    QTest::addColumn<QString>("name");
    // Whether the program's fallback is this file's text: for the answer words of the equation
    // page, which fall back to its default language, and for every other line.
    QTest::addColumn<bool>("answerWords");
    QTest::addColumn<bool>("otherLines");
    QTest::newRow("English: every line, the words of all but the answer")
        << "English" << false << true;
    QTest::newRow("Russian: every line, the answer words") << "Russian" << true << false;
    QTest::newRow("Ukrainian: every line") << "Ukrainian" << false << false;
}

// Every More line the program has words for is in each shipped file, and the words the program
// falls back on are the file's text, line by line.
void TstLanguage::moreFallbacksMatchTheShippedFiles() {
    QFETCH(QString, name);
    QFETCH(bool, answerWords);
    QFETCH(bool, otherLines);
    const QMap<int, QString> fallbacks = moreFallbacks();
    // Numbered from 1 without a gap, so the lines found are the enum's.
    QVERIFY(!fallbacks.isEmpty());
    QStringList withoutWords;
    for (int line = 1; line <= fallbacks.lastKey(); ++line)
        if (!fallbacks.contains(line))
            withoutWords << QStringLiteral("More %1").arg(line);
    QVERIFY2(withoutWords.isEmpty(), qPrintable(withoutWords.join(QLatin1String("; "))));

    qputenv("VELMORA_DATA_DIR", QByteArray(VELMORA_SOURCE_DIR));
    fillTables(QString());
    velmora::loadLanguage(name);
    QStringList missing;
    QStringList differing;
    for (auto it = fallbacks.cbegin(); it != fallbacks.cend(); ++it) {
        const auto line = static_cast<velmora::MoreText>(it.key());
        const bool answerWord =
            line == velmora::MoreText::AnswerWord || line == velmora::MoreText::NoRoots;
        const QString text = Global::text(TextTable::More, it.key());
        if (text.trimmed().isEmpty())
            missing << QStringLiteral("More %1").arg(it.key());
        else if ((answerWord ? answerWords : otherLines) && text != it.value())
            differing << QStringLiteral("More %1: file \"%2\", program \"%3\"")
                             .arg(it.key())
                             .arg(text, it.value());
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1String("; "))));
    QVERIFY2(differing.isEmpty(), qPrintable(differing.join(QLatin1String("; "))));
}

void TstLanguage::shippedFilesSpeakTheirLanguage_data() {
    shippedFilesAreComplete_data();
}

// Every entry of a file is in that file's language: no caption left in English in the Russian
// or Ukrainian file, no Russian word in the Ukrainian one, and so on.
void TstLanguage::shippedFilesSpeakTheirLanguage() {
    QFETCH(QString, name);
    qputenv("VELMORA_DATA_DIR", QByteArray(VELMORA_SOURCE_DIR));
    fillTables(QString());
    velmora::loadLanguage(name);

    QStringList faults;
    for (TextTable table : kTables)
        for (int line = 1; line <= Global::lineCount(table); ++line) {
            const QString text = Global::text(table, line);
            const QString fault = velmora::test::captionLanguageFault(text, name);
            if (!fault.isEmpty())
                faults << QStringLiteral("%1 %2 \"%3\": %4")
                              .arg(velmora::tableSection(table))
                              .arg(line)
                              .arg(text, fault);
        }
    QCOMPARE(faults, QStringList());
}

void TstLanguage::toolkitTextsFollowTheLanguage_data() {
    QTest::addColumn<QStringList>("names"); // loaded in this order
    QTest::addColumn<QString>("yes");       // the toolkit's Yes button afterwards
    QTest::addColumn<bool>("undoTranslated");

    QTest::newRow("Russian") << QStringList{"Russian"} << "&Да" << true;
    QTest::newRow("Ukrainian") << QStringList{"Ukrainian"} << "Т&ак" << true;
    QTest::newRow("English") << QStringList{"English"} << "&Yes" << false;
    QTest::newRow("Russian, then Ukrainian")
        << QStringList{"Russian", "Ukrainian"} << "Т&ак" << true;
    QTest::newRow("Ukrainian, then English")
        << QStringList{"Ukrainian", "English"} << "&Yes" << false;
    QTest::newRow("Russian twice") << QStringList{"Russian", "Russian"} << "&Да" << true;
    QTest::newRow("a name that selects no file keeps Russian")
        << QStringList{"Russian", "German"} << "&Да" << true;
}

// The standard buttons and the fields' context menu take their words from the toolkit's
// translations, switched with every load of a language.
void TstLanguage::toolkitTextsFollowTheLanguage() {
    QFETCH(QStringList, names);
    QFETCH(QString, yes);
    QFETCH(bool, undoTranslated);
    qputenv("VELMORA_DATA_DIR", QByteArray(VELMORA_SOURCE_DIR));
    for (const QString& name : names)
        velmora::loadLanguage(name);
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), yes);
    const QString undo = QCoreApplication::translate("QLineEdit", "&Undo");
    QCOMPARE(undo != QLatin1String("&Undo"), undoTranslated);
    velmora::loadLanguage(QStringLiteral("English"));
}

void TstLanguage::dataFilesAreLookedUpInOrder() {
    // The current folder, the program's folder, then the installed data folder.
    QTemporaryDir current;
    QVERIFY(current.isValid());
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(current.path()));
    const auto restore = qScopeGuard([&] { QDir::setCurrent(previous); });

    const QString relative = QStringLiteral("pictures/test picture.png");
    const QString inCurrent = QDir(current.path()).filePath(relative);
    const QString inProgram = QDir(QCoreApplication::applicationDirPath()).filePath(relative);
    const QString inData = QDir(m_data.path()).filePath(relative);
    QCOMPARE(velmora::dataFileCandidates(relative, velmora::DataPlace::CurrentFolder),
             (QStringList{inCurrent, inProgram, inData}));
    QCOMPARE(velmora::dataFileCandidates(relative, velmora::DataPlace::ProgramFolder),
             (QStringList{inProgram, inData}));

    QCOMPARE(velmora::findDataFile(relative, velmora::DataPlace::CurrentFolder), QString());
    for (const QString& path : {inData, inCurrent}) {
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QCOMPARE(velmora::findDataFile(relative, velmora::DataPlace::CurrentFolder), path);
    }
    // Named beside the program: the current folder is not looked in.
    QCOMPARE(velmora::findDataFile(relative, velmora::DataPlace::ProgramFolder), inData);
}

QTEST_GUILESS_MAIN(TstLanguage)
#include "tst_language.moc"
