#pragma once

#include <QLatin1StringView>
#include <QString>

class QWidget;

namespace velmora {

// The separate help program, installed beside the program, and the licence text, installed
// with its data. Both are looked up as the shell layer looks up a bare file name.
inline constexpr QLatin1StringView HelpProgram("velmora-help");
inline constexpr QLatin1StringView LicenceFile("License.txt");

// What "Help index" holds when the help program is to open the version history.
inline constexpr QLatin1StringView VersionHistoryIndex("version history");

// The About dialog's page row: the About copy of the page address without its scheme.
QString aboutPageText();

// Help > Home page: the Home page copy of the address, in the default browser.
void openHomePage();
// The About dialog's page button: the About copy of the address, in the default browser.
void openAboutPage();
// Help > Contents: the help program, without touching "Help index". Its window opens in the
// middle of the screen the given window is on.
void startHelpProgram(const QWidget* over);
// The About dialog's version-history button: writes "Help index", then starts the help
// program over the given window. A refused write fails (Failure) and the help program is not
// started.
void showVersionHistory(const QWidget* over);
// The About dialog's agreement button: the licence text in the default viewer.
void openLicence();

} // namespace velmora
