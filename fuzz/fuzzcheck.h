#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>

namespace velmora::fuzz {

// Stops the run on a broken property; libFuzzer then saves the input that broke it.
[[noreturn]] void fail(const char* property, QStringView text);

inline void check(bool holds, const char* property, QStringView text) {
    if (!holds)
        fail(property, text);
}

// The input bytes as text, read as UTF-8 (what a paste into a field could bring).
QString textOf(const std::uint8_t* data, std::size_t size);

// "inf" or "nan" anywhere, in any case.
bool mentionsInfOrNan(QStringView text);

// A number exactly as the general format writes one: an optional '-', then either "0", or at most
// 15 significant digits without leading zeros or trailing zeros after the separator, in fixed
// notation for 0.0001 <= |v| < 1e15 and as "d[<sep>ddd]E[-]x" otherwise.
bool isGeneralNumber(QStringView text, QChar separator);

// The length of the longest run at `from` made of the characters a general number uses
// (digits, the separator, 'E', and '-' right after 'E').
qsizetype numberRunLength(QStringView text, qsizetype from, QChar separator);

} // namespace velmora::fuzz
