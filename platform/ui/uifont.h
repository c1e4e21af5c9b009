#pragma once

#include <QFont>
#include <QString>

#include <initializer_list>
#include <thread>

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

// Loads the system's font configuration on a thread of its own. Reading it is the largest single
// cost before a window can measure its first text; made before the QApplication, the loader
// overlaps it with the connection to the window system. Call wait() before the first window is
// made, so the toolkit finds the configuration loaded rather than loading another beside it.
class FontConfigurationLoader {
public:
    FontConfigurationLoader();
    ~FontConfigurationLoader();
    FontConfigurationLoader(const FontConfigurationLoader&) = delete;
    FontConfigurationLoader& operator=(const FontConfigurationLoader&) = delete;

    void wait();

private:
    std::thread m_thread;
};

} // namespace velmora
