// The decimal conversion and the general format. The first byte chooses the separator and what
// the rest is: a typed text, or the eight bytes of a double. Every number read or made must
// format into a well-formed general number that reads back close (15 digits) and formats the
// same again, with either separator; the other separator never reads it.

#include "fuzz/fuzzcheck.h"
#include "numbers/decimal.h"
#include "numbers/numberformat.h"

#include <cmath>
#include <cstring>

using namespace velmora;
using namespace velmora::fuzz;

namespace {

void checkRoundTrip(double value, QChar separator) {
    const QChar other = separator == u',' ? u'.' : u',';
    const QString text = formatGeneral(value, separator);
    check(!mentionsInfOrNan(text), "no inf or nan in the format", text);
    check(isGeneralNumber(text, separator), "the format writes a general number", text);

    const std::optional<double> back = parseDecimal(text, separator);
    if (!back) {
        // Only the top of the range, from 1.797693134862315E308, rounds to 15 digits past the
        // largest double, 1.7976931348623157E308, and so reads as an overflow.
        check(std::fabs(value) >= 1.797693134862315e308, "the format reads back", text);
        return;
    }
    check(formatGeneral(*back, separator) == text, "the format of what it reads is the same", text);
    // 15 significant digits: within half a unit in the 15th digit (plus the 18-digit step and
    // the read's own rounding), or the nearest subnormal.
    const double error = std::fabs(*back - value);
    check(error <= 5.2e-15 * std::fabs(value) || error <= 5e-324, "reads back close", text);
    check(value == 0 || std::signbit(*back) == std::signbit(value), "reads back with its sign",
          text);
    if (text.contains(separator))
        check(!parseDecimal(text, other), "the other separator does not read it", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const QChar separator = (data[0] & 2) ? u'.' : u',';
    if (data[0] & 1) {
        double value;
        if (size < 1 + sizeof value)
            return 0;
        std::memcpy(&value, data + 1, sizeof value);
        if (std::isfinite(value))
            checkRoundTrip(value, separator);
        return 0;
    }

    const QString text = textOf(data + 1, size - 1);
    const std::optional<double> value = parseDecimal(text, separator);
    if (!value)
        return 0;
    check(std::isfinite(*value), "a read number is finite", text);
    for (const QChar c : text) {
        check(c == u' ' || c == u'+' || c == u'-' || (c >= u'0' && c <= u'9') || c == u'e' ||
                  c == u'E' || c == separator,
              "a read text holds only number characters", text);
    }
    checkRoundTrip(*value, separator);
    return 0;
}
