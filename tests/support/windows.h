#pragma once

#include "app/entry.h"
#include "app/mainwindow.h"

// The program's windows as the entry made them, for tests that link the whole program: none
// before they are made and after they are destroyed.
namespace velmora::test {

inline TForm2* aboutDialog() {
    return mainWindow() ? mainWindow()->aboutDialog() : nullptr;
}
inline TForm3* settingsDialog() {
    return mainWindow() ? mainWindow()->settingsDialog() : nullptr;
}
inline TForm4* updateDialog() {
    return mainWindow() ? mainWindow()->updateDialog() : nullptr;
}
inline UpdateController* updates() {
    return mainWindow() ? mainWindow()->updates() : nullptr;
}

} // namespace velmora::test
