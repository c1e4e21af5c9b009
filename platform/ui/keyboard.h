#pragma once

class QMenuBar;

namespace velmora {

// Enter and the keypad's Enter press the push button that has the keyboard focus, in every
// window of the program, as Space does. No button becomes a default button by it: Enter
// anywhere else does what it did before. Installed once per application; later calls do nothing.
void letEnterPressFocusedButtons();

// Puts the keyboard on the menu bar as the desktop's own programs do: F10, or Alt pressed and
// released alone, highlights the first menu; the arrows move along the bar and Down or Enter
// opens the highlighted menu; Escape, F10 or Alt again gives the keyboard back.
void giveMenuBarKeyboardAccess(QMenuBar* bar);

} // namespace velmora
