#pragma once

#include <QString>

namespace velmora {

// The text tables every caption and message comes from, empty until a language file is loaded.
// They are filled in this order. The first seven hold the interface's captions and messages,
// 13 lines each; More holds the program's own further texts (see state/moretexts.h) and Help
// the help window's words (see state/helptexts.h).
enum class TextTable {
    MainMenu,
    SquareRoot,
    Trigonometry,
    Settings,
    About,
    Update,
    Messages,
    More,
    Help
};

// Whether the update check runs by itself at start-up ("auto") or only when asked ("custom").
// None until start-up has read the setting.
enum class UpdateMode { None, Auto, Custom };

// What every window shares. Written on the user-interface thread only.
namespace Global {

inline constexpr int TableCount = 9;
// The lines of each of the seven interface tables.
inline constexpr int LinesPerTable = 13;
// The lines the More and Help tables have room for: the program's own texts grow with it.
inline constexpr int MoreLines = 128;
inline constexpr int HelpLines = 30;

// How many lines the table has room for.
constexpr int lineCount(TextTable table) {
    switch (table) {
    case TextTable::More:
        return MoreLines;
    case TextTable::Help:
        return HelpLines;
    default:
        return LinesPerTable;
    }
}

// Line 1..lineCount(table) of a table; a line outside that range reads as empty.
QString text(TextTable table, int line);
void setText(TextTable table, int line, const QString& value);

// "Russian", "English", "Ukrainian", or whatever the store held (empty when it held nothing).
QString languageName();
void setLanguageName(const QString& name);

UpdateMode updateMode();
void setUpdateMode(UpdateMode mode);

// The shared application-data folder that holds the update folder.
QString commonAppData();
void setCommonAppData(const QString& folder);

// The folder the update check and the installer download write into, below the Common
// AppData folder.
QString updateFolder();

} // namespace Global
} // namespace velmora
