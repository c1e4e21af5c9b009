#pragma once

#include <QChar>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <string>

namespace velmora {

// A typed number taken apart: its value is ±digits × 10^scale, digits being every digit typed
// before the exponent, in order ("0,25" gives "025" and scale -3).
struct DecimalText {
    bool negative = false;
    std::string digits;
    std::int64_t scale = 0;
};

// Checks the grammar of a typed number: optional spaces around, an optional sign, digits with an
// optional decimal separator (a lone separator reads as zero), an optional exponent ("E"/"e",
// optional sign, digits; no digits counts as 0). Gives nothing for any other text.
std::optional<DecimalText> scanDecimal(QStringView text, QChar separator);

// Reads a typed number as a double. A text that breaks the grammar, or whose value is beyond the
// double range, gives no value. A value too small for a double reads as zero of its sign.
std::optional<double> parseDecimal(QStringView text, QChar separator);

} // namespace velmora
