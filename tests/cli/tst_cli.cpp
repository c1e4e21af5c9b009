// velmora-cli run as a program: the worked examples of both pages, from the same tables the
// core tests use, with "," and with "."; the window's refusals and their texts; the language
// and the substitution letter taken from the settings; wrong command lines.
#include "platform/base/failure.h"
#include "state/global.h"
#include "state/language.h"
#include "state/moretexts.h"
#include "tests/support/testsupport.h"
#include "tests/support/workedexamples.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include <memory>

using velmora::test::TemporaryStore;

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

// Runs the tool under a locale; the worked examples are written with ",", so by default a
// Russian one.
Run runCli(const QStringList& arguments, const QString& locale = QStringLiteral("ru_RU.UTF-8")) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LC_ALL", "LC_NUMERIC", "LC_MESSAGES", "LANG", "LANGUAGE"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("LC_ALL"), locale);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VELMORA_CLI), arguments);
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, {}, QStringLiteral("did not finish")};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QString functionName(velmora::TrigFunction function) {
    using F = velmora::TrigFunction;
    switch (function) {
    case F::Sin:
        return QStringLiteral("sin");
    case F::Cos:
        return QStringLiteral("cos");
    case F::Tg:
        return QStringLiteral("tg");
    case F::Ctg:
        return QStringLiteral("ctg");
    case F::Arcsin:
        return QStringLiteral("arcsin");
    case F::Arccos:
        return QStringLiteral("arccos");
    case F::Arcctg:
        return QStringLiteral("arcctg");
    }
    return {};
}

QString pointed(QString text) {
    return text.replace(u',', u'.');
}

// A "Messages" line as the window shows it in a language.
QString messageIn(const QString& language, int line) {
    velmora::loadLanguage(language);
    return velmora::Global::text(velmora::TextTable::Messages, line);
}

QString storeWith(const QString& values) {
    return QStringLiteral(R"({"HKEY_LOCAL_MACHINE": {"SOFTWARE\\Velmora\\3.2": {%1}}})")
        .arg(values);
}

} // namespace

class TstCli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void solve_data();
    void solve();
    void trig_data();
    void trig();
    void refusals_data();
    void refusals();
    void settings_data();
    void settings();
    void withoutSettings_data();
    void withoutSettings();
    void commandLine_data();
    void commandLine();
    void damagedSettingsAreNamed();
    void textbook_data();
    void textbook();
    void textbookJson();

private:
    std::unique_ptr<TemporaryStore> m_store;
};

void TstCli::initTestCase() {
    // The shipped language files, for the tool and for the expected texts.
    qputenv("VELMORA_DATA_DIR", QByteArray(VELMORA_SOURCE_DIR));
}

void TstCli::init() {
    m_store = std::make_unique<TemporaryStore>();
}

void TstCli::cleanup() {
    m_store.reset();
}

// Every worked example of the equation page, typed with "," and again with "." where it has
// a decimal mark, in the Russian interface the examples are written in. The tool offers the
// settings' letters only, so rows with another letter are the core's alone.
void TstCli::solve_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    const QString noRoots = messageIn(QStringLiteral("Russian"), 10);
    for (const velmora::test::SolveExample& row : velmora::test::solveExamples()) {
        if (row.letter.size() != 1)
            continue;
        QStringList options;
        if (row.type == velmora::EquationType::Biquadratic)
            options << QStringLiteral("--biquadratic") << QStringLiteral("--letter") << row.letter;
        const QString out = row.lines.join(u'\n') + u'\n';
        const QString err = row.noRealRoots ? noRoots + u'\n' : QString();
        QTest::newRow(row.tag) << QStringList{"solve"} + options + QStringList{row.a, row.b, row.c}
                               << out << err;
        const QString typed = row.a + row.b + row.c;
        if (typed.contains(u','))
            QTest::addRow("%s, with points", row.tag)
                << QStringList{"solve"} + options +
                       QStringList{pointed(row.a), pointed(row.b), pointed(row.c)}
                << out << err;
    }
}

void TstCli::solve() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, out);
    QFETCH(QString, err);

    m_store->seed(storeWith(R"("Language": "Russian")").toUtf8());
    const Run run = runCli(arguments);
    QCOMPARE(run.err, err);
    QCOMPARE(run.out, out);
    QCOMPARE(run.status, 0);
}

// Every worked example of the trigonometry page written with ",", typed with "," and with
// ".": the answer is written with the Russian locale's ",", a refusal names the text as typed.
void TstCli::trig_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::addColumn<int>("status");

    for (const velmora::test::TrigExample& row : velmora::test::trigExamples()) {
        if (row.separator != u',')
            continue;
        const QString name = functionName(row.function);
        const QString out = row.answer.isEmpty() ? QString() : row.answer + u'\n';
        const QString err =
            row.error.isEmpty() ? QString() : velmora::withFullStop(row.error) + u'\n';
        const int status = row.error.isEmpty() ? 0 : 1;
        QTest::newRow(row.tag) << QStringList{"trig", name, row.input} << out << err << status;
        if (row.input.contains(u','))
            QTest::addRow("%s, with a point", row.tag)
                << QStringList{"trig", name, pointed(row.input)} << out << pointed(err) << status;
    }
}

void TstCli::trig() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(int, status);

    // The examples' refusals are worded in English; the Russian locale writes ",".
    m_store->seed(storeWith(R"("Language": "English")").toUtf8());
    const Run run = runCli(arguments);
    QCOMPARE(run.err, err);
    QCOMPARE(run.out, out);
    QCOMPARE(run.status, status);
}

// What the window refuses, refused with the window's texts (of the Russian locale, as there
// are no settings) and status 1; nothing on standard output.
void TstCli::refusals_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("err");

    const auto russian = [](int line) { return messageIn(QStringLiteral("Russian"), line); };
    QTest::newRow("a missing") << QStringList{"solve", "", "1", "2"} << russian(7);
    QTest::newRow("a zero") << QStringList{"solve", "0", "1", "2"} << russian(8);
    QTest::newRow("a zero written 0,0") << QStringList{"solve", "0,0", "1", "2"} << russian(8);
    QTest::newRow("a zero written -0") << QStringList{"solve", "-0", "1", "2"} << russian(8);
    QTest::newRow("a zero as a lone comma") << QStringList{"solve", ",", "1", "2"} << russian(8);
    QTest::newRow("a not a number") << QStringList{"solve", "-", "1", "2"} << russian(9) + " \"a\"";
    QTest::newRow("b reported before c")
        << QStringList{"solve", "1", "1-2", "x"} << russian(9) + " \"b\"";
    QTest::newRow("c not a number")
        << QStringList{"solve", "1", "", "1,2,3"} << russian(9) + " \"c\"";
    QTest::newRow("both marks in one number")
        << QStringList{"solve", "1", "1.5,2", "0"} << russian(9) + " \"b\"";
    QTest::newRow("overflow") << QStringList{"solve", "1", "1E200", "0"}
                              << QStringLiteral("Переполнение: число слишком велико.");
}

void TstCli::refusals() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, err);

    const Run run = runCli(arguments);
    QCOMPARE(run.err, err + u'\n');
    QCOMPARE(run.out, QString());
    QCOMPARE(run.status, 1);
}

// The language of the messages and of the answer line, and the default substitution letter,
// come from the settings.
void TstCli::settings_data() {
    QTest::addColumn<QString>("store");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("line");         // of the output: the last line when negative
    QTest::addColumn<QString>("expected"); // standard error, or that line of output

    QTest::newRow("Ukrainian messages")
        << storeWith(R"("Language": "Ukrainian")") << QStringList{"solve", "", "1", "1"} << 0
        << messageIn(QStringLiteral("Ukrainian"), 7);
    QTest::newRow("Russian messages")
        << storeWith(R"("Language": "Russian")") << QStringList{"solve", "1", "0", "1"} << 0
        << messageIn(QStringLiteral("Russian"), 10);
    QTest::newRow("an unknown language gives the locale's")
        << storeWith(R"("Language": "German")") << QStringList{"solve", "0", "1", "1"} << 0
        << messageIn(QStringLiteral("Russian"), 8);
    const QStringList twoRoots = {"solve", "1", "-3", "2"};
    QTest::newRow("Russian answer")
        << storeWith(R"("Language": "Russian")") << twoRoots << -1 << "Ответ: x₁ = 2; x₂ = 1";
    QTest::newRow("English answer")
        << storeWith(R"("Language": "English")") << twoRoots << -1 << "Answer: x₁ = 2; x₂ = 1";
    QTest::newRow("Ukrainian answer")
        << storeWith(R"("Language": "Ukrainian")") << twoRoots << -1 << "Відповідь: x₁ = 2; x₂ = 1";
    QTest::newRow("an unknown language answers in the locale's")
        << storeWith(R"("Language": "German")")
        << QStringList{"solve", "--biquadratic", "1", "5", "4"} << -1 << "Ответ: нет корней";
    QTest::newRow("Ukrainian, no roots")
        << storeWith(R"("Language": "Ukrainian")")
        << QStringList{"solve", "--biquadratic", "1", "5", "4"} << -1 << "Відповідь: немає коренів";
    QTest::newRow("the stored letter")
        << storeWith(R"("Replacement": "t")")
        << QStringList{"solve", "--biquadratic", "1", "-5", "4"} << 2 << "t² - 5t + 4 = 0";
    QTest::newRow("no stored letter gives y")
        << QString() << QStringList{"solve", "--biquadratic", "1", "-5", "4"} << 2
        << "y² - 5y + 4 = 0";
    QTest::newRow("a stored letter of the wrong type gives y")
        << storeWith(R"("Replacement": 5)") << QStringList{"solve", "--biquadratic", "1", "-5", "4"}
        << 2 << "y² - 5y + 4 = 0";
    QTest::newRow("the given letter wins")
        << storeWith(R"("Replacement": "t")")
        << QStringList{"solve", "--biquadratic", "--letter=z", "1", "-5", "4"} << 2
        << "z² - 5z + 4 = 0";
}

void TstCli::settings() {
    QFETCH(QString, store);
    QFETCH(QStringList, arguments);
    QFETCH(int, line);
    QFETCH(QString, expected);

    if (!store.isEmpty())
        m_store->seed(store.toUtf8());
    const Run run = runCli(arguments);
    if (line == 0) {
        QCOMPARE(run.err, expected + u'\n');
        return;
    }
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.value(line > 0 ? line : lines.size() + line), expected);
}

// Without settings the tool speaks the locale's language, as the window's first start does,
// and writes the locale's decimal separator; it reads both separators under every locale.
void TstCli::withoutSettings_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("point"); // the locale's decimal separator

    QTest::newRow("Russian locale") << "ru_RU.UTF-8"
                                    << "Russian"
                                    << ",";
    QTest::newRow("Ukrainian locale") << "uk_UA.UTF-8"
                                      << "Ukrainian"
                                      << ",";
    QTest::newRow("English locale") << "en_US.UTF-8"
                                    << "English"
                                    << ".";
    QTest::newRow("C locale") << "C.UTF-8"
                              << "English"
                              << ".";
}

void TstCli::withoutSettings() {
    QFETCH(QString, locale);
    QFETCH(QString, language);
    QFETCH(QString, point);

    velmora::loadLanguage(language);
    const auto message = [](int line) {
        return velmora::Global::text(velmora::TextTable::Messages, line);
    };
    const auto more = [](velmora::MoreText line) { return velmora::moreText(line); };

    Run run = runCli({"solve", "0", "1", "1"}, locale);
    QCOMPARE(run.err, message(8) + u'\n');
    run = runCli({"solve", "1", "", "-2,25"}, locale);
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.value(lines.size() - 1),
             more(velmora::MoreText::AnswerWord) + " x₁ = 1" + point + "5; x₂ = -1" + point + "5");
    run = runCli({"trig", "sin", "1.5"}, locale);
    QCOMPARE(run.out.left(4), "0" + point + "02");
    // The error reports are worded in the same language.
    run = runCli({"trig", "arcsin", "2"}, locale);
    QCOMPARE(run.err, more(velmora::MoreText::InvalidOperation) + QStringLiteral(".\n"));
    run = runCli({"trig", "sin", "1,2,3"}, locale);
    QCOMPARE(run.err,
             more(velmora::MoreText::NotAFloat).replace(QLatin1String("%1"), "1,2,3") + ".\n");
    QCOMPARE(run.status, 1);
}

void TstCli::commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("start"); // of standard output, or of standard error

    const QString usage = QStringLiteral("Usage: velmora-cli solve");
    QTest::newRow("--help") << QStringList{"--help"} << 0 << usage;
    QTest::newRow("-h after a command") << QStringList{"solve", "-h"} << 0 << usage;
    QTest::newRow("--version") << QStringList{"--version"} << 0 << "velmora-cli 3.2";
    QTest::newRow("nothing") << QStringList() << 2 << "velmora-cli: no command given";
    QTest::newRow("unknown command")
        << QStringList{"graph", "1"} << 2 << "velmora-cli: unknown command 'graph'";
    QTest::newRow("two coefficients")
        << QStringList{"solve", "1", "2"} << 2 << "velmora-cli: solve takes three";
    QTest::newRow("four coefficients")
        << QStringList{"solve", "1", "2", "3", "4"} << 2 << "velmora-cli: solve takes three";
    QTest::newRow("unknown option") << QStringList{"solve", "--cubic", "1", "2", "3"} << 2
                                    << "velmora-cli: unknown option '--cubic'";
    QTest::newRow("letter x") << QStringList{"solve", "--biquadratic", "--letter", "x", "1", "2",
                                             "3"}
                              << 2 << "velmora-cli: --letter takes one of the letters";
    QTest::newRow("letter without a letter") << QStringList{"solve", "1", "2", "3", "--letter"} << 2
                                             << "velmora-cli: --letter needs a letter";
    QTest::newRow("arctg is not offered")
        << QStringList{"trig", "arctg", "1"} << 2 << "velmora-cli: arctg is not offered";
    QTest::newRow("unknown function")
        << QStringList{"trig", "tan", "30"} << 2 << "velmora-cli: unknown function 'tan'";
    QTest::newRow("negative numbers after --")
        << QStringList{"solve", "--", "-1", "0", "4"} << 0 << "-x² + 4 = 0";
    QTest::newRow("unknown format")
        << QStringList{"solve", "--textbook", "--format", "yaml", "1", "2", "3"} << 2
        << "velmora-cli: --format takes text, latex or json";
    QTest::newRow("format without a format") << QStringList{"solve", "1", "2", "3", "--format"} << 2
                                             << "velmora-cli: --format needs text, latex or json";
    QTest::newRow("format without --textbook")
        << QStringList{"solve", "--format=json", "1", "2", "3"} << 2
        << "velmora-cli: --format belongs to solve --textbook";
    QTest::newRow("textbook belongs to solve")
        << QStringList{"trig", "--textbook", "sin", "30"} << 2
        << "velmora-cli: --biquadratic, --letter, --textbook and --format belong to solve";
}

void TstCli::commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, start);

    const Run run = runCli(arguments);
    QCOMPARE(run.status, status);
    const QString shown = status == 0 ? run.out : run.err;
    QVERIFY2(shown.startsWith(start), qPrintable(shown));
}

// A damaged settings file is kept aside (the store names the copy on standard error) and the
// tool goes on with the defaults.
void TstCli::damagedSettingsAreNamed() {
    m_store->seed("{\"HKEY_LOCAL_MACHINE\": ");
    const Run run =
        runCli({QStringLiteral("solve"), QString(), QStringLiteral("1"), QStringLiteral("2")});
    const QDir folder = QFileInfo(m_store->path()).dir();
    const QStringList kept = folder.entryList({QStringLiteral("registry.json.corrupt-*")});
    QCOMPARE(kept.size(), 1);
    QVERIFY(!QFile::exists(m_store->path()));
    QVERIFY2(run.err.contains(folder.filePath(kept[0])), qPrintable(run.err));
    QVERIFY(run.err.endsWith(messageIn(QStringLiteral("Russian"), 7) + u'\n'));
    QCOMPARE(run.status, 1);
}

// The textbook solution: a = 0 allowed, the words of the settings' language, the formats, and the
// window's refusals of the texts themselves.
void TstCli::textbook_data() {
    QTest::addColumn<QString>("store");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>(
        "lines"); // lines of standard output, in order, or of standard error

    QTest::newRow("text in Russian, biquadratic with the given letter")
        << storeWith(R"("Language": "Russian")")
        << QStringList{"solve", "--textbook", "--biquadratic", "--letter", "t", "--", "1",
                       "2",     "-3"}
        << 0
        << QStringList{"x⁴ + 2x² − 3 = 0",
                       "Пусть x² = t, t ≥ 0",
                       "t² + 2t − 3 = 0",
                       "D = b² − 4ac = 2² − 4·1·(−3) = 16",
                       "t₁,₂ = (−b ± √D)/(2a) = (−2 ± 4)/(2·1)",
                       "t₁ = (−2 + 4)/2 = 1",
                       "t₂ = (−2 − 4)/2 = −3",
                       "x² = 1 ⇒ x = ±√1 = ±1",
                       "t₂ = −3 < 0: не подходит, так как t ≥ 0",
                       "Разложение на множители: x⁴ + 2x² − 3 = (x − 1)(x + 1)(x² + 3)",
                       "Проверка по теореме Виета: t₁ + t₂ = −2 = −b/a; t₁·t₂ = −3 = c/a",
                       "Ответ: −1; 1."};
    QTest::newRow("a = 0 and a decimal point, in English")
        << storeWith(R"("Language": "English")")
        << QStringList{"solve", "--textbook", "--", "0", "2.5", "-1"} << 0
        << QStringList{"2,5x − 1 = 0", "a = 0: the equation is linear", "x = −c/b = 1/2,5 = 0,4",
                       "Answer: x = 0,4."};
    QTest::newRow("an equation as a book prints it, in Ukrainian")
        << storeWith(R"("Language": "Ukrainian")")
        << QStringList{"solve", "--textbook", "--", "x(x - 3) = 4"} << 0
        << QStringList{"x(x − 3) = 4",
                       "Розкриємо дужки: x² − 3x = 4",
                       "Перенесемо всі доданки в ліву частину: x² − 3x − 4 = 0",
                       "D = b² − 4ac = (−3)² − 4·1·(−4) = 25",
                       "x₁,₂ = (−b ± √D)/(2a) = (3 ± 5)/(2·1)",
                       "x₁ = (3 + 5)/2 = 4",
                       "x₂ = (3 − 5)/2 = −1",
                       "Розклад на множники: x² − 3x − 4 = (x + 1)(x − 4)",
                       "Перевірка за теоремою Вієта: x₁ + x₂ = 3 = −b/a; x₁·x₂ = −4 = c/a",
                       "Відповідь: −1; 4."};
    QTest::newRow("the discriminant asked for an incomplete equation")
        << storeWith(R"("Language": "English")")
        << QStringList{"solve", "--textbook", "--method", "discriminant", "--", "x^2 = 8"} << 0
        << QStringList{"x² = 8",
                       "Move every term to the left: x² − 8 = 0",
                       "D = b² − 4ac = 0² − 4·1·(−8) = 32",
                       "x₁,₂ = (−b ± √D)/(2a) = (0 ± √32)/(2·1) = ±2√2",
                       "x₁ = 2√2 ≈ 2,83",
                       "x₂ = −2√2 ≈ −2,83",
                       "Factored form: x² − 8 = (x + 2√2)(x − 2√2)",
                       "Check by Vieta's formulas: x₁ + x₂ = 0 = −b/a; x₁·x₂ = −8 = c/a",
                       "Answer: x = −2√2 or x = 2√2."};
    QTest::newRow("a method that does not solve the equation")
        << storeWith(R"("Language": "English")")
        << QStringList{"solve", "--textbook", "--method", "factor", "--", "1", "2", "3"} << 2
        << QStringList{"velmora-cli: --method factor does not solve this equation; it takes "
                       "discriminant",
                       "Try 'velmora-cli --help'."};
    QTest::newRow("an equation the reader refuses, with its place")
        << storeWith(R"("Language": "English")")
        << QStringList{"solve", "--textbook", "--", "x + ) = 0"} << 2
        << QStringList{"Unexpected character ')' at position 5"};
    QTest::newRow("the same refusal in the settings' language, Russian")
        << storeWith(R"("Language": "Russian")")
        << QStringList{"solve", "--textbook", "--", "x + ) = 0"} << 2
        << QStringList{"Неожиданный символ «)» в позиции 5"};
    QTest::newRow("a limit named in Ukrainian")
        << storeWith(R"("Language": "Ukrainian")")
        << QStringList{"solve", "--textbook", "--", "x^2 = 2^21"} << 2
        << QStringList{"Показник степеня більший за 20 у позиції 9"};
    QTest::newRow("a degree not solved here, in Russian")
        << storeWith(R"("Language": "Russian")")
        << QStringList{"solve", "--textbook", "--", "x^3 + x + 1 = 0"} << 1
        << QStringList{"Здесь решаются только линейные, квадратные и биквадратные уравнения; "
                       "это уравнение степени 3."};
    QTest::newRow("latex")
        << storeWith(R"("Language": "English")")
        << QStringList{"solve", "--textbook", "--format", "latex", "--", "3", "0", "-2"} << 0
        << QStringList{"\\begin{align*}",
                       "&3{x}^{2} - 2 = 0 \\\\",
                       "&{x}^{2} = \\frac{2}{3} \\Rightarrow  x = \\pm \\sqrt{\\frac{2}{3}} = "
                       "\\pm \\frac{\\sqrt{6}}{3} \\approx  \\pm 0{,}82 \\\\",
                       "&\\text{Factored form: }3{x}^{2} - 2 = 3(x + \\frac{\\sqrt{6}}{3})(x - "
                       "\\frac{\\sqrt{6}}{3}) \\\\",
                       "&\\text{Check by Vieta's formulas: }{x}_{1} + {x}_{2} = 0 = -\\frac{b}{a};"
                       "\\; {x}_{1}\\cdot {x}_{2} = -\\frac{2}{3} = \\frac{c}{a} \\\\",
                       "&\\text{Answer: }x = -\\frac{\\sqrt{6}}{3}\\text{ or }x = "
                       "\\frac{\\sqrt{6}}{3}\\text{.}",
                       "\\end{align*}"};
    QTest::newRow("a refused b, as the window refuses it")
        << storeWith(R"("Language": "English")")
        << QStringList{"solve", "--textbook", "--", "0", "2x", "1"} << 1
        << QStringList{messageIn(QStringLiteral("English"), 9) + " \"b\""};
    QTest::newRow("a missing") << storeWith(R"("Language": "English")")
                               << QStringList{"solve", "--textbook", "", "1", "2"} << 1
                               << QStringList{messageIn(QStringLiteral("English"), 7)};
}

void TstCli::textbook() {
    QFETCH(QString, store);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QStringList, lines);

    if (!store.isEmpty())
        m_store->seed(store.toUtf8());
    const Run run = runCli(arguments);
    QCOMPARE(run.status, status);
    QCOMPARE((status == 0 ? run.out : run.err).split(u'\n', Qt::SkipEmptyParts), lines);
    QCOMPARE(status == 0 ? run.err : run.out, QString());
}

// The JSON form: the discriminant, the roots in the ASCII grammar and their decimals.
void TstCli::textbookJson() {
    const Run run = runCli({"solve", "--textbook", "--format=json", "--", "2", "3", "-7"});
    QCOMPARE(run.status, 0);
    QJsonParseError error;
    const QJsonObject object = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(object.value(u"discriminant").toString(), QStringLiteral("65"));
    QCOMPARE(object.value(u"roots").toArray(),
             QJsonArray({"(-3 - sqrt(65))/4", "(-3 + sqrt(65))/4"}));
    QCOMPARE(object.value(u"approximations").toArray(), QJsonArray({"-2.77", "1.27"}));
    QCOMPARE(object.value(u"equation").toString(), QStringLiteral("2x² + 3x − 7 = 0"));
}

QTEST_GUILESS_MAIN(TstCli)
#include "tst_cli.moc"
