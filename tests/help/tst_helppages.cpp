// The help pages as shipped: the same pages in every language, every link leading to a page
// that exists, and every worked example and trigonometry result on them exactly what the
// program writes for that input in the pages' language.
#include "cli/commandline.h"
#include "state/settingscatalogue.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

const QString kPages = QStringLiteral(VELMORA_SOURCE_DIR "/help/pages");
const QStringList kLanguages = {QStringLiteral("en"), QStringLiteral("ru"), QStringLiteral("uk")};

QString readPage(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return QString::fromUtf8(file.readAll());
}

QStringList pageNames(const QString& language) {
    return QDir(kPages + u'/' + language).entryList({QStringLiteral("*.html")}, QDir::Files);
}

QString plainText(QString html) {
    return html.replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&amp;"), QLatin1String("&"));
}

// "<!-- example: ARGUMENTS -->" before a <pre> block: the block is what velmora-cli writes for
// those arguments, which is what the window writes for that input.
const QRegularExpression
    kExample(QStringLiteral(R"(<!-- example: (.*?) -->\s*<pre[^>]*>(.*?)</pre>)"),
             QRegularExpression::DotMatchesEverythingOption);
// A row of a table of class "trig": function, what is typed, result.
const QRegularExpression kTrigTable(QStringLiteral(R"(<table class="trig".*?</table>)"),
                                    QRegularExpression::DotMatchesEverythingOption);
const QRegularExpression
    kTrigRow(QStringLiteral(R"(<tr><td>([a-z]+)</td><td>([^<]*)</td><td>([^<]*)</td></tr>)"));

} // namespace

class TstHelpPages : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void samePagesInEveryLanguage();
    void links_data();
    void links();
    void examples_data();
    void examples();
};

void TstHelpPages::initTestCase() {
    // The shipped language files, for the answer lines of each language.
    qputenv("VELMORA_DATA_DIR", QByteArray(VELMORA_SOURCE_DIR));
}

void TstHelpPages::samePagesInEveryLanguage() {
    const QStringList english = pageNames(QStringLiteral("en"));
    QVERIFY(english.contains(QStringLiteral("index.html")));
    QVERIFY(english.contains(QStringLiteral("history.html")));
    // The same worked examples and results, in the same order, on each language's pages.
    const auto examplesIn = [&english](const QString& language) {
        QStringList examples;
        for (const QString& name : english) {
            const QString page = readPage(kPages + u'/' + language + u'/' + name);
            for (const auto& match : kExample.globalMatch(page))
                examples << match.captured(1);
            for (const auto& table : kTrigTable.globalMatch(page))
                for (const auto& row : kTrigRow.globalMatch(table.captured()))
                    examples << row.captured(1) + u' ' + row.captured(2);
        }
        return examples;
    };
    const QStringList englishExamples = examplesIn(QStringLiteral("en"));
    QVERIFY(englishExamples.size() > 40);
    for (const QString& language : kLanguages) {
        QCOMPARE(pageNames(language), english);
        QCOMPARE(examplesIn(language), englishExamples);
    }
}

void TstHelpPages::links_data() {
    QTest::addColumn<QString>("path");
    for (const QString& language : kLanguages)
        for (const QString& name : pageNames(language))
            QTest::newRow(qPrintable(language + u'/' + name))
                << kPages + u'/' + language + u'/' + name;
}

// Every page has a title, and every link that is not a web or mail address leads to a file.
void TstHelpPages::links() {
    QFETCH(QString, path);
    const QString page = readPage(path);
    QVERIFY(QRegularExpression(QStringLiteral("<title>[^<]+</title>")).match(page).hasMatch());
    const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"]+)\""));
    for (const auto& match : link.globalMatch(page)) {
        const QString target = match.captured(1).section(u'#', 0, 0);
        if (target.startsWith(QLatin1String("http")) || target.startsWith(QLatin1String("mailto:")))
            continue;
        QVERIFY2(QFile::exists(QFileInfo(path).dir().filePath(target)), qPrintable(target));
    }
}

void TstHelpPages::examples_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("shown");
    for (const QString& language : kLanguages)
        for (const QString& name : pageNames(language)) {
            const QString page = readPage(kPages + u'/' + language + u'/' + name);
            for (const auto& match : kExample.globalMatch(page))
                QTest::addRow("%s/%s: %s", qPrintable(language), qPrintable(name),
                              qPrintable(match.captured(1)))
                    << language << match.captured(1).split(u' ')
                    << plainText(match.captured(2)) + u'\n';
            for (const auto& table : kTrigTable.globalMatch(page))
                for (const auto& row : kTrigRow.globalMatch(table.captured()))
                    QTest::addRow("%s/%s: %s %s", qPrintable(language), qPrintable(name),
                                  qPrintable(row.captured(1)), qPrintable(row.captured(2)))
                        << language
                        << QStringList{QStringLiteral("trig"), row.captured(1), row.captured(2)}
                        << row.captured(3) + u'\n';
        }
}

void TstHelpPages::examples() {
    QFETCH(QString, language);
    QFETCH(QStringList, arguments);
    QFETCH(QString, shown);
    const QString name = language == QLatin1String("ru")   ? QStringLiteral("Russian")
                         : language == QLatin1String("uk") ? QStringLiteral("Ukrainian")
                                                           : QStringLiteral("English");
    velmora::catalogue::write(velmora::catalogue::Language, name);
    const velmora::cli::Outcome outcome = velmora::cli::run(arguments);
    QCOMPARE(outcome.status, velmora::cli::StatusDone);
    QCOMPARE(outcome.out, shown);
}

QTEST_GUILESS_MAIN(TstHelpPages)
#include "tst_helppages.moc"
