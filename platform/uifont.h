#pragma once

#include <QFont>
#include <QString>

#include <initializer_list>

namespace velmora {

// The first of the faces that is installed, else the first one named. Call after the
// application exists.
QString firstInstalledFace(std::initializer_list<QString> faces);

// The windows' face "Velmora", 13 pixels high. The face is not shipped with the program; where
// it is missing, DejaVu Sans Condensed stands in, else DejaVu Sans, else the toolkit's default.
// Call after the application exists.
QFont windowFont();

// Arial, 16 pixels high, for the coefficient letters; where it is missing, a face with the
// same metrics stands in. Call after the application exists.
QFont letterFont();

} // namespace velmora
