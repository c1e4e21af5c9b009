#include "about/helplinks.h"

#include "about/productinfo.h"
#include "platform/desktop/shell.h"
#include "state/settingscatalogue.h"

#include <QScreen>
#include <QWidget>

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
    shellExecute({address(product::HomePageAddress)});
}

void openAboutPage() {
    shellExecute({address(product::AboutPageAddress)});
}

void startHelpProgram(const QWidget* over) {
    // The help is a program of its own: it learns the screen by name from its environment.
    QStringList environment;
    if (const QScreen* screen = over ? over->screen() : nullptr)
        environment << QStringLiteral("VELMORA_HELP_SCREEN=") + screen->name();
    shellExecute({HelpProgram, environment});
}

void showVersionHistory(const QWidget* over) {
    catalogue::write(catalogue::HelpIndex, VersionHistoryIndex);
    startHelpProgram(over);
}

void openLicence() {
    shellExecute({LicenceFile});
}

} // namespace velmora
