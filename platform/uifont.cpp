#include "platform/uifont.h"

#include <QFontDatabase>

namespace velmora {

QFont windowFont() {
    // The face is not shipped; a condensed face keeps the designed captions inside their
    // controls where it is missing. The first installed face of the three is named directly:
    // naming a missing face would send every first use of the font, once per script, through
    // the font configuration's sort of all installed fonts before a substitute is taken.
    static const QString face = [] {
        const QString faces[] = {QStringLiteral("Velmora"), QStringLiteral("DejaVu Sans Condensed"),
                                 QStringLiteral("DejaVu Sans")};
        for (const QString& candidate : faces) {
            if (QFontDatabase::hasFamily(candidate))
                return candidate;
        }
        // None is installed: the name stays, and the toolkit substitutes its default face.
        return faces[0];
    }();
    QFont font(face);
    font.setPixelSize(13);
    return font;
}

} // namespace velmora
