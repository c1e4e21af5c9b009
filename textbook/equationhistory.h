#pragma once

#include <QString>
#include <QStringList>

namespace velmora::textbook {

// The equation line's drop-down: the last equations solved with Enter, the most recent first.
inline constexpr int EquationHistoryLength = 20;

// The list with the line put first. An earlier entry that is the same line once tidied (spaces,
// minus signs and powers as a book prints them) goes; the most recent EquationHistoryLength stay.
QStringList withLatestEquation(QStringList history, const QString& line);

// The list as one stored text: each line followed by U+001E, the record separator, which no
// keyboard types and the equation reader refuses, so no line of the list can hold it.
QString storedEquationHistory(const QStringList& history);
// The stored text read back. Anything that is not such a list is an empty list: a text not ended
// by the separator, an empty line, a line the equation reader refuses, two lines alike, or more
// than EquationHistoryLength of them.
QStringList equationHistoryOf(const QString& stored);

} // namespace velmora::textbook
