#include "update/progressfigures.h"

#include <algorithm>

namespace velmora {

ProgressFigures progressFigures(qint64 received, int installerSize) {
    ProgressFigures figures;
    received = std::max<qint64>(received, 0);
    figures.kilobytes = received / 1024;
    if (installerSize <= 0)
        return figures;
    const qint64 total = installerSize;
    figures.bar =
        static_cast<int>(std::min<qint64>(received * ProgressBarRange / total, ProgressBarRange));
    figures.percent = static_cast<int>(std::min<qint64>(received * 100 / total, 100));
    return figures;
}

} // namespace velmora
