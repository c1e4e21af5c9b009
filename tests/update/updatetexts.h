#pragma once

#include "state/global.h"
#include "state/moretexts.h"

#include <QString>

namespace velmora::test {

// Fills the "Messages", "Update" and "More" tables with texts that name their line
// ("message 11", "update 12", "more 4"), so a test sees which line a box or a label took.
inline void useNamedTexts() {
    for (int line = 1; line <= Global::LinesPerTable; ++line) {
        Global::setText(TextTable::Messages, line, QStringLiteral("message %1").arg(line));
        Global::setText(TextTable::Update, line, QStringLiteral("update %1").arg(line));
    }
    for (int line = 1; line <= Global::MoreLines; ++line) {
        // The lines that name a file carry its place.
        const bool namesAFile = line == 3 || line == 6;
        Global::setText(TextTable::More, line,
                        QStringLiteral("more %1").arg(line) +
                            (namesAFile ? QStringLiteral(": %1") : QString()));
    }
}

// What useNamedTexts() puts on a line of the More table that names no file.
inline QString namedMoreText(MoreText line) {
    return QStringLiteral("more %1").arg(static_cast<int>(line));
}

} // namespace velmora::test
