#pragma once

#include <QString>

namespace velmora {

// The seven text tables every caption and message comes from, 13 lines each, empty until a
// language file is loaded.
enum class TextTable { MainMenu, SquareRoot, Trigonometry, Settings, About, Update, Messages };

namespace Global {

inline constexpr int TableCount = 7;
inline constexpr int LinesPerTable = 13;

// Line 1..13 of a table; a line outside that range reads as empty.
QString text(TextTable table, int line);
void setText(TextTable table, int line, const QString& value);

} // namespace Global
} // namespace velmora
