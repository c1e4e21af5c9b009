#pragma once

#include <QString>
#include <QStringList>

class QMenuBar;
class QWidget;

namespace velmora {

// Enter and the keypad's Enter press the push button that has the keyboard focus, in every
// window of the program, as Space does. No button becomes a default button by it: Enter
// anywhere else does what it did before. Installed once per application; later calls do nothing.
void letEnterPressFocusedButtons();

// Lets the shortcut keys of a window's menu items run them while one of its fields has the
// keyboard. A field keeps a key it edits with: on Linux desktops Ctrl+E moves to the end of the
// line, so a menu item with Ctrl+E would never run from a field. Installed once per window;
// later calls do nothing.
void giveMenuShortcutsPrecedence(QWidget* window);

// Puts the keyboard on the menu bar as the desktop's own programs do: F10, or Alt pressed and
// released alone, highlights the first menu; the arrows move along the bar and Down or Enter
// opens the highlighted menu; Escape, F10 or Alt again gives the keyboard back.
void giveMenuBarKeyboardAccess(QMenuBar* bar);

// The captions of one menu with a mnemonic each ("&File"), chosen from the caption itself so that
// no two share a letter (compared case-insensitively): the first free word-initial letter, else
// the first free letter or digit; a caption with none free gets none. A "&" of a caption is kept
// as a "&", not taken for a mnemonic.
QStringList withMnemonics(const QStringList& captions);

// Gives the menu bar's menus and the items of each menu (and of their submenus) mnemonics from
// their captions, unique within each, so Alt and a letter opens a menu and a letter chooses an
// item. Call right after the captions are set (as plain text), each time they are.
void giveMenuMnemonics(QMenuBar* bar);

} // namespace velmora
