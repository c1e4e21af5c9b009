#include "app/global.h"

#include <array>

namespace velmora::Global {
namespace {

using Table = std::array<QString, LinesPerTable>;

std::array<Table, TableCount>& tables() {
    static std::array<Table, TableCount> all;
    return all;
}

bool validLine(int line) {
    return line >= 1 && line <= LinesPerTable;
}

} // namespace

QString text(TextTable table, int line) {
    if (!validLine(line))
        return {};
    return tables()[static_cast<std::size_t>(table)][static_cast<std::size_t>(line - 1)];
}

void setText(TextTable table, int line, const QString& value) {
    if (validLine(line))
        tables()[static_cast<std::size_t>(table)][static_cast<std::size_t>(line - 1)] = value;
}

} // namespace velmora::Global
