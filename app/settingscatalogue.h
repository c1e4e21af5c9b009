#pragma once

#include <QString>

namespace velmora::Settings {

// The program's own key in the store, under the local-machine root.
inline QString programKey() {
    return QStringLiteral("SOFTWARE\\Velmora\\3.2");
}

// The substitution letter of the biquadratic equation.
inline QString replacement() {
    return QStringLiteral("Replacement");
}

} // namespace velmora::Settings
