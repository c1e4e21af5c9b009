#include "state/global.h"

#include "state/storednames.h"

#include <array>

namespace velmora::Global {
namespace {

// Every table gets the room of the largest.
static_assert(MoreLines >= HelpLines && MoreLines >= LinesPerTable);

struct Shared {
    std::array<std::array<QString, MoreLines>, TableCount> tables;
    QString languageName;
    UpdateMode updateMode = UpdateMode::None;
    QString commonAppData;
};

Shared& shared() {
    static Shared state;
    return state;
}

bool validLine(TextTable table, int line) {
    return line >= 1 && line <= lineCount(table);
}

} // namespace

QString text(TextTable table, int line) {
    if (!validLine(table, line))
        return {};
    return shared().tables[static_cast<std::size_t>(table)][static_cast<std::size_t>(line - 1)];
}

void setText(TextTable table, int line, const QString& value) {
    if (validLine(table, line))
        shared().tables[static_cast<std::size_t>(table)][static_cast<std::size_t>(line - 1)] =
            value;
}

QString languageName() {
    return shared().languageName;
}

void setLanguageName(const QString& name) {
    shared().languageName = name;
}

UpdateMode updateMode() {
    return shared().updateMode;
}

void setUpdateMode(UpdateMode mode) {
    shared().updateMode = mode;
}

QString commonAppData() {
    return shared().commonAppData;
}

void setCommonAppData(const QString& folder) {
    shared().commonAppData = folder;
}

QString updateFolder() {
    return commonAppData() + QLatin1Char('/') + QString::fromUtf16(storednames::UpdateFolder);
}

} // namespace velmora::Global
