#pragma once

#include <QString>

#include <functional>

namespace velmora {

// Flag words of the program's message boxes: icon and buttons in one number.
namespace MessageFlags {
inline constexpr unsigned ErrorOk = 0x10;
inline constexpr unsigned InformationOk = 0x40;
inline constexpr unsigned InformationYesNo = 0x44;
inline constexpr unsigned WarningYesNo = 0x34;
} // namespace MessageFlags

inline constexpr int AnswerOk = 1;
inline constexpr int AnswerYes = 6;
inline constexpr int AnswerNo = 7;

// Shows a modal message box and returns the button pressed (AnswerOk, AnswerYes or AnswerNo).
// The text is shown literally, never as rich text. Every message box of the program goes
// through here.
int showMessageBox(const QString& text, const QString& caption, unsigned flags);

// Replaces the real box, so tests can record each box and answer it without blocking.
// An empty handler restores the real box.
using MessageBoxHandler =
    std::function<int(const QString& text, const QString& caption, unsigned flags)>;
void setMessageBoxHandler(MessageBoxHandler handler);

} // namespace velmora
