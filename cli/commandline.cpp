#include "cli/commandline.h"

#include "platform/base/failure.h"
#include "platform/base/locale.h"
#include "platform/base/version.h"
#include "solver/equation.h"
#include "state/global.h"
#include "state/language.h"
#include "state/moretexts.h"
#include "state/settingscatalogue.h"
#include "state/tablelines.h"
#include "textbook/solution.h"
#include "textbook/textbookwords.h"
#include "textbook/typedsolution.h"
#include "trig/trigcore.h"

#include <optional>

namespace velmora::cli {
namespace {

// Every number is written with the decimal separator of the user's locale (LC_NUMERIC), as the
// window writes it. Asked at each use, so a test may run under any locale.
struct LocaleSeparator {
    operator QChar() const { return localeDecimalSeparator(); }
};
constexpr LocaleSeparator OutputSeparator;

struct UsageError {
    QString message;
};

// A number is read with the locale's separator, as the window reads it; the other of "," and
// "." is accepted too, for numbers written elsewhere. A text holding both is read with the
// locale's and so refused.
QChar separatorOf(const QString& text) {
    const bool comma = text.contains(u',');
    const bool point = text.contains(u'.');
    if (comma != point)
        return comma ? QChar(u',') : QChar(u'.');
    return OutputSeparator;
}

std::array<QChar, 3> separatorsOf(const QStringList& numbers) {
    return {separatorOf(numbers[0]), separatorOf(numbers[1]), separatorOf(numbers[2])};
}

// The texts of the language the settings name (the messages, the answer words and the error
// reports); the locale's language when they name none, as the window's first start.
void loadMessages() {
    loadLanguage(shownLanguage(catalogue::startupLanguage()));
}

Failure refusedCoefficient(char letter) {
    return Failure(refusedCoefficientText(letter));
}

// The substitution letter when none is given: the "Replacement" setting as the window reads
// it, else "y", the settings' default.
QString storedLetter() {
    const QString stored = catalogue::find(catalogue::Replacement).valueOr(QString());
    return stored.isEmpty() ? QStringLiteral("y") : stored;
}

enum class TextbookFormat { Text, Latex, Json };

// The decimals of the textbook solution's approximations on the command line.
constexpr int Decimals = 2;

// The textbook solution in the format asked for.
Outcome written(const textbook::Solution& solution, TextbookFormat format) {
    switch (format) {
    case TextbookFormat::Latex:
        return {StatusDone, textbook::solutionLatex(solution), {}};
    case TextbookFormat::Json:
        return {StatusDone, textbook::solutionJson(solution, Decimals), {}};
    case TextbookFormat::Text:
        break;
    }
    return {StatusDone, textbook::solutionText(solution), {}};
}

// A method asked for that does not solve the equation is a wrong command line.
void checkMethod(const std::optional<QString>& method, const textbook::Problem& problem) {
    if (!method)
        return;
    const QStringList methods = textbook::methodsFor(problem);
    if (!methods.contains(*method))
        throw UsageError{QStringLiteral("--method %1 does not solve this equation; it takes %2")
                             .arg(*method, methods.join(QStringLiteral(", ")))};
}

// The solution as the textbook view writes it; a = 0 is solved as the linear equation.
Outcome textbookSolve(const QStringList& numbers, bool biquadratic,
                      const std::optional<QString>& letter, TextbookFormat format,
                      const std::optional<QString>& method) {
    const CoefficientReading reading = textbook::readProblemCoefficients(
        {numbers[0], numbers[1], numbers[2]}, separatorsOf(numbers));
    switch (reading.outcome) {
    case CoefficientReading::MissingA:
        return {StatusInputError, {}, text(MessageLine::MissingA)};
    case CoefficientReading::NotANumber:
        throw refusedCoefficient(reading.refusedLetter);
    case CoefficientReading::ZeroA:
    case CoefficientReading::Accepted:
        break;
    }
    textbook::Problem problem;
    problem.coefficients = reading.coefficients;
    for (const QString& number : numbers)
        problem.decimalForms =
            problem.decimalForms || number.contains(u',') || number.contains(u'.');
    problem.type = biquadratic ? EquationType::Biquadratic : EquationType::Quadratic;
    if (biquadratic)
        problem.letter = letter.value_or(storedLetter());
    checkMethod(method, problem);
    problem.method = method.value_or(QString());
    const textbook::Solution solution =
        textbook::solve(problem, textbook::wordsOfLanguage(), OutputSeparator, Decimals);
    return written(solution, format);
}

// An equation typed as a book prints it, written as the textbook view writes it.
Outcome textbookSolveTyped(const QString& equation, TextbookFormat format,
                           const std::optional<QString>& method) {
    const textbook::Words words = textbook::wordsOfLanguage();
    const textbook::TypedOutcome outcome = textbook::solveTyped(
        equation, words, OutputSeparator, Decimals, method.value_or(QString()));
    // The refusals in the interface language, as the textbook view's equation line shows them.
    if (std::holds_alternative<EquationError>(outcome))
        return {StatusUsageError, {}, textbook::refusalWords(outcome)};
    if (std::holds_alternative<textbook::UnsolvedDegree>(outcome))
        return {StatusInputError, {}, textbook::refusalWords(outcome)};
    const textbook::TypedSolution& typed = std::get<textbook::TypedSolution>(outcome);
    if (typed.solved)
        checkMethod(method, typed.problem);
    const textbook::Solution& solution = typed.solution;
    return written(solution, format);
}

Outcome solve(const QStringList& numbers, bool biquadratic, const std::optional<QString>& letter) {
    Outcome outcome;
    // The window's checks, in its order; the first refusal ends the solve.
    const CoefficientReading reading =
        readCoefficients({numbers[0], numbers[1], numbers[2]}, separatorsOf(numbers));
    switch (reading.outcome) {
    case CoefficientReading::MissingA:
        return {StatusInputError, {}, text(MessageLine::MissingA)};
    case CoefficientReading::ZeroA:
        return {StatusInputError, {}, text(MessageLine::ZeroA)};
    case CoefficientReading::NotANumber:
        throw refusedCoefficient(reading.refusedLetter);
    case CoefficientReading::Accepted:
        break;
    }

    const EquationType type = biquadratic ? EquationType::Biquadratic : EquationType::Quadratic;
    const EquationNumbers solved = solveEquation(reading.coefficients, type);
    const QString substitution = biquadratic ? letter.value_or(storedLetter()) : QString();
    const EquationText text =
        describeEquation(solved, substitution, OutputSeparator,
                         {moreText(MoreText::AnswerWord), moreText(MoreText::NoRoots)});
    for (const QString& line : text.lines)
        outcome.out += line + u'\n';
    if (text.noRealRoots)
        outcome.err = velmora::text(MessageLine::NoRealRoots);
    return outcome;
}

TrigFunction functionNamed(const QString& name) {
    static const std::pair<const char*, TrigFunction> functions[] = {
        {"sin", TrigFunction::Sin},       {"cos", TrigFunction::Cos},
        {"tg", TrigFunction::Tg},         {"ctg", TrigFunction::Ctg},
        {"arcsin", TrigFunction::Arcsin}, {"arccos", TrigFunction::Arccos},
        {"arcctg", TrigFunction::Arcctg},
    };
    for (const auto& [known, function] : functions) {
        if (name == QLatin1String(known))
            return function;
    }
    if (name == QLatin1String("arctg"))
        throw UsageError{QStringLiteral("arctg is not offered (the window shows it greyed)")};
    throw UsageError{QStringLiteral("unknown function '%1'").arg(name)};
}

Outcome trig(const QString& name, const QString& value) {
    const TrigFunction function = functionNamed(name);
    const double x = readTrigInput(value, separatorOf(value));
    return {StatusDone, trigAnswer(function, value, x, OutputSeparator) + u'\n', {}};
}

Outcome parseAndRun(const QStringList& arguments) {
    bool biquadratic = false;
    bool textbook = false;
    std::optional<TextbookFormat> format;
    std::optional<QString> letter;
    std::optional<QString> method;
    QStringList positional;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && argument == QLatin1String("-h"))
            return {StatusDone, usage(), {}};
        // An option is "--" and a name. Anything else is a value, so "-3" and even "--5"
        // (which the window's field takes, and refuses as a number) reach the command.
        const bool option = !optionsEnded && argument.size() > 2 &&
                            argument.startsWith(QLatin1String("--")) && argument[2].isLetter();
        if (!option) {
            positional << argument;
            continue;
        }
        if (argument == QLatin1String("--help"))
            return {StatusDone, usage(), {}};
        if (argument == QLatin1String("--version"))
            return {StatusDone,
                    QStringLiteral("velmora-cli %1\n").arg(QString::fromUtf16(version::Text16)),
                    {}};
        if (argument == QLatin1String("--biquadratic")) {
            biquadratic = true;
        } else if (argument == QLatin1String("--textbook")) {
            textbook = true;
        } else if (argument == QLatin1String("--format") ||
                   argument.startsWith(QLatin1String("--format="))) {
            QString name;
            if (argument == QLatin1String("--format")) {
                if (++i == arguments.size())
                    throw UsageError{QStringLiteral("--format needs text, latex or json")};
                name = arguments[i];
            } else {
                name = argument.mid(9);
            }
            if (name == QLatin1String("text"))
                format = TextbookFormat::Text;
            else if (name == QLatin1String("latex"))
                format = TextbookFormat::Latex;
            else if (name == QLatin1String("json"))
                format = TextbookFormat::Json;
            else
                throw UsageError{
                    QStringLiteral("--format takes text, latex or json, not '%1'").arg(name)};
        } else if (argument == QLatin1String("--method") ||
                   argument.startsWith(QLatin1String("--method="))) {
            if (argument == QLatin1String("--method")) {
                if (++i == arguments.size())
                    throw UsageError{QStringLiteral("--method needs a method")};
                method = arguments[i];
            } else {
                method = argument.mid(9);
            }
        } else if (argument == QLatin1String("--letter") ||
                   argument.startsWith(QLatin1String("--letter="))) {
            if (argument == QLatin1String("--letter")) {
                if (++i == arguments.size())
                    throw UsageError{QStringLiteral("--letter needs a letter")};
                letter = arguments[i];
            } else {
                letter = argument.mid(9);
            }
            // The letters the settings offer: a to z without x.
            if (letter->size() != 1 || !catalogue::ReplacementLetters.contains(*letter))
                throw UsageError{QStringLiteral("--letter takes one of the letters a to z "
                                                "without x, not '%1'")
                                     .arg(*letter)};
        } else {
            throw UsageError{QStringLiteral("unknown option '%1'").arg(argument)};
        }
    }

    if (positional.isEmpty())
        throw UsageError{QStringLiteral("no command given")};
    const QString command = positional.takeFirst();
    if (command == QLatin1String("solve")) {
        if (format && !textbook)
            throw UsageError{QStringLiteral("--format belongs to solve --textbook")};
        if (method && !textbook)
            throw UsageError{QStringLiteral("--method belongs to solve --textbook")};
        if (textbook && positional.size() == 1) {
            if (biquadratic || letter)
                throw UsageError{
                    QStringLiteral("an equation names its own kind and letter: no --biquadratic "
                                   "or --letter with it")};
            loadMessages();
            return textbookSolveTyped(positional[0], format.value_or(TextbookFormat::Text), method);
        }
        if (positional.size() != 3)
            throw UsageError{
                QStringLiteral("solve takes three coefficients (a b c), or with --textbook one "
                               "equation")};
        loadMessages();
        if (textbook)
            return textbookSolve(positional, biquadratic, letter,
                                 format.value_or(TextbookFormat::Text), method);
        return solve(positional, biquadratic, letter);
    }
    if (command == QLatin1String("trig")) {
        if (biquadratic || letter || textbook || format)
            throw UsageError{
                QStringLiteral("--biquadratic, --letter, --textbook and --format belong to solve")};
        if (method)
            throw UsageError{QStringLiteral("--method belongs to solve --textbook")};
        if (positional.size() != 2)
            throw UsageError{QStringLiteral("trig takes a function and a value")};
        loadMessages();
        return trig(positional[0], positional[1]);
    }
    throw UsageError{QStringLiteral("unknown command '%1'").arg(command)};
}

} // namespace

Outcome run(const QStringList& arguments) {
    try {
        return parseAndRun(arguments);
    } catch (const UsageError& error) {
        return {StatusUsageError,
                {},
                QStringLiteral("velmora-cli: %1\nTry 'velmora-cli --help'.").arg(error.message)};
    } catch (const Failure& failure) {
        // As the window's standard error report words it.
        return {StatusInputError, {}, withFullStop(failureText(failure))};
    }
}

QString usage() {
    return QStringLiteral(
        "Usage: velmora-cli solve [--biquadratic] [--letter LETTER] A B C\n"
        "       velmora-cli solve --textbook [--format text|latex|json] [--biquadratic]\n"
        "                         [--letter LETTER] -- A B C\n"
        "       velmora-cli solve --textbook [--format text|latex|json] [--method METHOD]\n"
        "                         -- \"EQUATION\"\n"
        "       velmora-cli trig FUNCTION VALUE\n"
        "\n"
        "Velmora's equation and trigonometry pages on the command line, written exactly as\n"
        "the window writes them.\n"
        "\n"
        "  solve A B C         the detailed solution of A·x² + B·x + C = 0, one line per line\n"
        "                      of the window's detailed-solution box\n"
        "  --biquadratic       solve A·x⁴ + B·x² + C = 0 through a substitution instead\n"
        "  --letter LETTER     the substitution letter, one of a to z without x (default: the\n"
        "                      \"Replacement\" setting, else y)\n"
        "  --textbook          write the solution as the textbook view does: exact roots in\n"
        "                      simplest form, the factored form, a check and the answer;\n"
        "                      A may be 0 (the linear equation B·x + C = 0)\n"
        "  -- \"EQUATION\"      with --textbook: an equation as a book prints it, such as\n"
        "                      \"(2x - 1)^2 = 9\" or \"x(x - 3) = 4\", brought to ax² + bx + c = "
        "0\n"
        "                      step by step and solved\n"
        "  --method METHOD     with --textbook: discriminant, or factor (c = 0) or\n"
        "                      square-root (b = 0); without it, the class's own choice\n"
        "  --format FORMAT     with --textbook: text (the default, as Copy as text), latex\n"
        "                      (as Copy as LaTeX, an amsmath align* environment) or json\n"
        "                      (the discriminant, the roots in an ASCII form such as\n"
        "                      (-3 - sqrt(65))/4, their decimals, and the lines)\n"
        "  trig FUNCTION VALUE sin, cos, tg or ctg of an angle in degrees, or arcsin, arccos\n"
        "                      or arcctg of a value, answered in degrees\n"
        "  -h, --help          show this text\n"
        "  --version           show the version\n"
        "\n"
        "Numbers are written with the decimal separator of the locale (LC_NUMERIC), as in\n"
        "the window; both 0,5 and 0.5 are read. A negative number is given as it is:\n"
        "solve 1 -3 2.\n"
        "An empty B or C (\"\") counts as 0, as an empty field does in the window.\n"
        "\n"
        "Messages and the answer line are those of the window, in the language of the\n"
        "\"Language\" setting, else of the locale (ru: Russian, uk: Ukrainian, others:\n"
        "English), so LC_ALL=uk_UA.UTF-8 velmora-cli ... answers in Ukrainian. When an\n"
        "equation has no real roots, the window's notice goes to standard error.\n"
        "\n"
        "Exit status: 0 done (also when there are no real roots), 1 an input the window\n"
        "refuses (the message on standard error), 2 a wrong command line.\n");
}

} // namespace velmora::cli
