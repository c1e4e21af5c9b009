#include "state/helptexts.h"

#include "state/global.h"

namespace velmora {
namespace {

QString fallback(HelpText line) {
    switch (line) {
    case HelpText::Back:
        return QStringLiteral("Back");
    case HelpText::Forward:
        return QStringLiteral("Forward");
    case HelpText::Contents:
        return QStringLiteral("Contents");
    case HelpText::PagesMissing:
        return QStringLiteral("The help pages were not found. Reinstall Velmora.");
    case HelpText::Find:
        return QStringLiteral("Find:");
    case HelpText::NotFound:
        return QStringLiteral("Not found");
    }
    return {};
}

} // namespace

QString helpText(HelpText line) {
    const QString text = Global::text(TextTable::Help, static_cast<int>(line));
    return text.isEmpty() ? fallback(line) : text;
}

} // namespace velmora
