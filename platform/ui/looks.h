#pragma once

class QColor;
class QDialog;
class QLabel;
class QLineEdit;
class QString;
class QWidget;

namespace velmora {

// The two background colours of a field: the system's window colour marks a field in use,
// the button-face colour one out of use. A disabled field in the window colour (an answer the
// user cannot edit) shows its text in a colour made from the palette to be read on it.
enum class FieldColour { Window, ButtonFace };
void setFieldColour(QWidget* field, FieldColour colour);

// The two looks of a result field: active (enabled, window colour) and inactive (disabled,
// button-face colour).
void setActiveLook(QWidget* field, bool active);

// Sets a label's text and lets its width follow the text, as a label sized to its caption does,
// so a longer translation is not cut.
void setAutoSizedText(QLabel* label, const QString& text);

// Lets the dialog be centred on its parent at every showing, as at the first, wherever it was
// moved (by the program or the user) since.
void centreOnEveryShowing(QDialog* dialog);

// Puts a result into a one-line field with the cursor at its start, so a text longer than the
// field shows its beginning ("1,16223106…"), not its tail.
void showResultText(QLineEdit* field, const QString& text);

// Lets the field show its whole text as a tool tip when the text is wider than the field
// ("-2,7655…" hides the digits after), and no tool tip when it fits.
void showWholeTextAsToolTip(QLineEdit* field);

// Whether the field shows its text whole, without scrolling.
[[nodiscard]] bool showsWholeText(const QLineEdit* field);

// Sets a label's text in the largest pixel size, from its font's own down to the smallest given,
// at which the text fits the label's width, so a long text is made smaller rather than cut.
void setFittedText(QLabel* label, const QString& text, int largestPixelSize, int smallestPixelSize);

// The contrast of two colours as readability guidelines measure it: 1 (none) to 21.
[[nodiscard]] double contrastRatio(const QColor& one, const QColor& other);
// The ground made darker or lighter (away from the ink) until the ink on it reaches the ratio,
// or as far as it goes; a ground that reaches it already is returned as it is.
[[nodiscard]] QColor groundForInk(const QColor& ground, const QColor& ink, double ratio);

// Draws marks that stand out 3:1, which the desktop's themes (dark ones most) do not always
// give: a ring around every enabled check box and radio button, against the window colour, and
// a ring of the keyboard focus on combo boxes and on the focused tab of a tab bar, against the
// ground it is drawn on. Installs itself over the application's style, once, for every window.
void drawReadableMarks();

// Whether the field's background is the given system colour.
[[nodiscard]] bool hasFieldColour(const QWidget* field, FieldColour colour);

} // namespace velmora
