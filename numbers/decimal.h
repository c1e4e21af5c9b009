#pragma once

#include <QChar>
#include <QStringView>

#include <optional>

namespace velmora {

// Reads a typed number: optional spaces around, an optional sign, digits with an optional
// decimal separator (a lone separator reads as zero), an optional exponent ("E"/"e", optional
// sign, digits; no digits counts as 0). Anything else, or a value beyond the double range,
// gives no value. A value too small for a double reads as zero of its sign.
std::optional<double> parseDecimal(QStringView text, QChar separator);

} // namespace velmora
