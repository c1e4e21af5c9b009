#pragma once

namespace velmora {

class TForm1;

// Sets the application's title and desktop identity. Call once, after QApplication exists.
void initApplication();

// Creates the main window and runs its FormCreate; a user's first start writes the installer's
// defaults first. From here on a damaged settings file is told to the user
// (app/storenotice.h). The main window is not shown.
void createMainWindow();

// The main window made by createMainWindow(), until destroyWindows(); none before and after.
TForm1* mainWindow();

// Has the main window make the About, settings and update dialogs, then starts the update check
// when the update mode is "auto". Does nothing when they exist or when there is no main window;
// whatever needs a dialog calls it first.
void createDialogs();

// Both of the above: the four windows in their order (main window, About, settings, update).
void createWindows();

// Shows the main window made by createMainWindow(); the dialogs follow as soon as its first
// picture is painted.
void showMainWindow();

// Stops the update workers and destroys the windows.
void destroyWindows();

// The program's end: destroys the windows, the update workers stopped first.
void endApplication();

} // namespace velmora
