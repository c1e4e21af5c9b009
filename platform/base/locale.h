#pragma once

#include <QChar>

namespace velmora {

// The decimal separator of the user's regional settings, which the program never changes.
QChar localeDecimalSeparator();

} // namespace velmora
