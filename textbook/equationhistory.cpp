#include "textbook/equationhistory.h"

#include "algebra/equationparser.h"
#include "textbook/typedsolution.h"

#include <QSet>

namespace velmora::textbook {
namespace {

constexpr QChar Separator = QChar(0x1E);

} // namespace

QStringList withLatestEquation(QStringList history, const QString& line) {
    const QString tidy = tidyEquation(line);
    history.removeIf([&tidy](const QString& entry) { return tidyEquation(entry) == tidy; });
    history.prepend(line);
    while (history.size() > EquationHistoryLength)
        history.removeLast();
    return history;
}

QString storedEquationHistory(const QStringList& history) {
    QString stored;
    for (const QString& line : history)
        stored += line + Separator;
    return stored;
}

QStringList equationHistoryOf(const QString& stored) {
    if (stored.isEmpty() || !stored.endsWith(Separator))
        return {};
    QStringList lines = stored.split(Separator);
    lines.removeLast(); // after the last separator
    if (lines.size() > EquationHistoryLength)
        return {};
    QSet<QString> seen;
    for (const QString& line : lines) {
        const QString tidy = tidyEquation(line);
        if (line.trimmed().isEmpty() || seen.contains(tidy) ||
            std::holds_alternative<EquationError>(parseEquation(line)))
            return {};
        seen.insert(tidy);
    }
    return lines;
}

} // namespace velmora::textbook
