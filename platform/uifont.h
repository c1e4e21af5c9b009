#pragma once

#include <QFont>

namespace velmora {

// The windows' face "Velmora", 13 pixels high. The face is not shipped with the program; where
// it is missing, DejaVu Sans Condensed stands in, else DejaVu Sans, else the toolkit's default.
// Call after the application exists.
QFont windowFont();

} // namespace velmora
