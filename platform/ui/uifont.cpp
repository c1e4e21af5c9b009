#include "platform/ui/uifont.h"

#include <QFontDatabase>
#include <QStringList>

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace velmora {

QString firstInstalledFace(std::initializer_list<QString> faces) {
    // A face is looked up by its own name only. Naming a missing face would send every first use
    // of the font, once per script, through the font configuration's sort of all installed
    // fonts before a substitute is taken; asking hasFamily() runs the configuration's
    // substitution rules for each name.
    for (const QString& face : faces) {
        if (!QFontDatabase::styles(face).isEmpty())
            return face;
    }
    // None is installed: the first name stays, and the toolkit substitutes for it.
    return *faces.begin();
}

QFont windowFont() {
    // The face is not shipped; a condensed face keeps the designed captions inside their
    // controls where it is missing.
    static const QString face =
        firstInstalledFace({QStringLiteral("Velmora"), QStringLiteral("DejaVu Sans Condensed"),
                            QStringLiteral("DejaVu Sans")});
    QFont font(face);
    font.setPixelSize(13);
    return font;
}

QFont letterFont() {
    // Arial, else a face with its metrics, in the order the font configuration's own aliases
    // give them, else the plain DejaVu Sans that stands in for it on a bare system.
    static const QString face = firstInstalledFace(
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
         QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")});
    QFont font(face);
    font.setPixelSize(16);
    return font;
}

FontConfigurationLoader::FontConfigurationLoader() {
    try {
        m_thread = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // No thread to spare: the toolkit loads the configuration itself when it needs it.
    }
}

FontConfigurationLoader::~FontConfigurationLoader() {
    wait();
}

void FontConfigurationLoader::wait() {
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace velmora
