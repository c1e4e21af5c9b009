#pragma once

#include <QFont>

namespace velmora {

// The face every window names, 13 pixels high. The face is not shipped with the program; where
// it is missing the toolkit substitutes its default face.
QFont windowFont();

} // namespace velmora
