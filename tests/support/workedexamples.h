#pragma once

// The worked examples of the equation and trigonometry pages: each typed input with the texts
// the program must show for it. One table each, shared by the core tests and the command-line
// tool's test, so the window's core and the tool are held to the same answers.

#include "solver/equation.h"
#include "trig/trigcore.h"

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

namespace velmora::test {

// Coefficients are typed texts with "," as separator; an empty b or c is 0, as in the window.
struct SolveExample {
    const char* tag;
    EquationType type;
    QString a, b, c;
    QString letter; // the substitution letter, used exactly as given
    QString discriminant;
    QStringList rootFields; // Edit5..Edit8
    QStringList lines;      // the detailed solution
    bool noRealRoots;
};
const QList<SolveExample>& solveExamples();

// One evaluation as the page runs it: either an answer or an error text; the other is empty.
struct TrigExample {
    const char* tag;
    TrigFunction function;
    QChar separator;
    QString input;
    QString answer;
    QString error;
};
const QList<TrigExample>& trigExamples();

} // namespace velmora::test
