#pragma once

// Polynomials written in the tests' tables as their coefficients, highest power first, each an
// integer or a fraction: "1 -5 6" is x² − 5x + 6, "1/3 0 -1/2" is x²/3 − 1/2.

#include "algebra/polynomial.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtTest/qtestcase.h>

#include <cstring>
#include <vector>

inline velmora::Polynomial polynomialOf(const QString& highestFirst) {
    const QStringList words = highestFirst.split(u' ', Qt::SkipEmptyParts);
    std::vector<mpq_class> coefficients;
    for (auto word = words.crbegin(); word != words.crend(); ++word) {
        mpq_class c(word->toStdString(), 10);
        c.canonicalize();
        coefficients.push_back(c);
    }
    Q_ASSERT(coefficients.size() <= velmora::MaxPolynomialDegree + 1);
    coefficients.resize(velmora::MaxPolynomialDegree + 1);
    return velmora::Polynomial::fromCoefficients(
        {coefficients[0], coefficients[1], coefficients[2], coefficients[3], coefficients[4]});
}

namespace velmora {

// A failed comparison shows the coefficients, highest first, as the tables write them.
inline char* toString(const Polynomial& polynomial) {
    QByteArray text;
    for (int power = MaxPolynomialDegree; power >= 0; --power)
        text += QByteArray(polynomial.coefficient(power).get_str().c_str()) + ' ';
    return qstrdup(text.trimmed().constData());
}

} // namespace velmora
