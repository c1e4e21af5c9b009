#pragma once

#include <QtGlobal>

namespace velmora {

// What the update dialog shows for the bytes of the installer received so far.
struct ProgressFigures {
    qint64 kilobytes = 0; // whole kilobytes, the remainder dropped
    int bar = 0;          // the dialog's bar, 0 to BarRange
    int percent = 0;      // the launcher's bar, 0 to 100
};

inline constexpr int ProgressBarRange = 404; // one step per pixel of the bar

// The figures for received bytes of an installer of installerSize bytes. The products are formed
// in 64 bits, so no size of a 32-bit total overflows. Without a usable total (0 or negative) the
// bars stay at 0 rather than divide; past the total they stay full.
ProgressFigures progressFigures(qint64 received, int installerSize);

} // namespace velmora
