#include "about/helplinks.h"

#include "about/productinfo.h"
#include "platform/shell.h"
#include "state/settingscatalogue.h"

namespace velmora {
namespace {

QString address(const char16_t* copy) {
    return QString::fromUtf16(copy);
}

} // namespace

QString aboutPageText() {
    QString text = address(product::AboutPageAddress);
    text.remove(0, text.indexOf(QLatin1String("://")) + 3);
    return text;
}

void openHomePage() {
    shellExecute({QStringLiteral("open"), address(product::HomePageAddress), ShowMode::Normal});
}

void openAboutPage() {
    shellExecute({QStringLiteral("open"), address(product::AboutPageAddress), ShowMode::Normal});
}

void startHelpProgram() {
    shellExecute({QString(), HelpProgram, ShowMode::Show});
}

void showVersionHistory() {
    catalogue::write(catalogue::HelpIndex, VersionHistoryIndex);
    startHelpProgram();
}

void openLicence() {
    shellExecute({QStringLiteral("Open"), LicenceFile, ShowMode::Normal});
}

} // namespace velmora
