#include "platform/base/locale.h"

#include <QLocale>

namespace velmora {

QChar localeDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.front();
}

} // namespace velmora
