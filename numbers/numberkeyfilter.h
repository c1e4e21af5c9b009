#pragma once

#include <QChar>
#include <QObject>

#include <functional>

class QLineEdit;

namespace velmora {

// Whether a typed character may enter a number field: Backspace, ",", "-", a digit, or the
// locale's own decimal separator (so a user whose separator is "." can type a fraction).
[[nodiscard]] bool isNumberEntryCharacter(char16_t character, QChar separator);

// What a typed decimal mark becomes: "." and "," (the numeric keypad's key among them) both
// type the locale's separator, so a fraction can be typed whatever the keyboard's layout.
// Any other character is returned as it is.
char16_t typedCharacter(char16_t character, QChar separator);

// The key filter of the number fields. Typed characters the rule above refuses are discarded;
// a decimal mark is typed as the locale's separator; keys that type nothing (arrows, Delete,
// Tab) pass. With an Enter action, Enter runs it and is discarded; without one, Enter is simply
// discarded. The editing shortcuts the field's menu shows (copy, cut, paste, select all, undo,
// redo) do what its menu does; pasted text is not filtered, as the menu's Paste is not.
class NumberKeyFilter : public QObject {
    Q_OBJECT
public:
    explicit NumberKeyFilter(QObject* parent, std::function<void()> enterAction = {});
    void watch(QLineEdit* field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_enterAction;
    QChar m_separator;
};

} // namespace velmora
