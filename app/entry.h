#pragma once

namespace velmora {

// Sets the application's title and desktop identity. Call once, after QApplication exists.
void initApplication();

// Creates the four windows in their order (main window, About, settings, update) and sets
// the window references; the main window's FormCreate runs between the first and the others.
// A user's first start writes the installer's defaults first. From here on a damaged settings
// file is told to the user (app/storenotice.h).
// The main window is not shown.
void createWindows();

// Destroys the windows and clears the references.
void destroyWindows();

} // namespace velmora
