#include "numbers/exacttext.h"
#include "textbook/solution.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace velmora::textbook {

QString solutionText(const Solution& solution) {
    QString text;
    for (const Formula& line : solution.lines)
        text += plainText(line) + u'\n';
    return text;
}

QString solutionLatex(const Solution& solution) {
    QString text = QStringLiteral("\\begin{align*}\n");
    for (std::size_t i = 0; i < solution.lines.size(); ++i) {
        text += u'&' + latex(solution.lines[i]);
        text += i + 1 < solution.lines.size() ? QStringLiteral(" \\\\\n") : QStringLiteral("\n");
    }
    return text + QStringLiteral("\\end{align*}\n");
}

QString solutionJson(const Solution& solution, int decimals) {
    QJsonObject object;
    object.insert(QStringLiteral("equation"), plainText(solution.equation));
    object.insert(QStringLiteral("discriminant"),
                  solution.discriminant ? QJsonValue(rationalText(*solution.discriminant))
                                        : QJsonValue(QJsonValue::Null));
    QJsonArray roots, approximations, lines;
    for (const ExactForm& form : solution.roots) {
        roots.append(asciiForm(form));
        approximations.append(fixedText(form.value, decimals, u'.', u'-'));
    }
    for (const Formula& line : solution.lines)
        lines.append(plainText(line));
    object.insert(QStringLiteral("roots"), roots);
    object.insert(QStringLiteral("approximations"), approximations);
    object.insert(QStringLiteral("simplified"), solution.simplified);
    object.insert(QStringLiteral("method"), solution.method);
    QJsonArray coefficients;
    for (const mpq_class& coefficient : solution.coefficients)
        coefficients.append(rationalText(coefficient));
    object.insert(QStringLiteral("coefficients"), coefficients);
    if (solution.linear == Solution::Linear::NoSolution)
        object.insert(QStringLiteral("solutions"), QStringLiteral("none"));
    else if (solution.linear == Solution::Linear::AnyNumber)
        object.insert(QStringLiteral("solutions"), QStringLiteral("all"));
    object.insert(QStringLiteral("lines"), lines);
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented));
}

} // namespace velmora::textbook
