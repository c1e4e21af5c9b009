#pragma once

#include <QChar>
#include <QString>

namespace velmora {

// The general number format of every number the solver shows: 15 significant digits (rounded
// half up from the 18-digit expansion), trailing zeros dropped, fixed notation for
// 0.0001 <= |v| < 1e15 and "dE[-]x" otherwise; zero of either sign is "0". The value must be
// finite.
QString formatGeneral(double value, QChar separator);
void appendGeneral(QString& out, double value, QChar separator);

} // namespace velmora
