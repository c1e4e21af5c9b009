#include "platform/uifont.h"

namespace velmora {

QFont windowFont() {
    // The face is not shipped; a condensed face keeps the designed captions inside their
    // controls where it is missing.
    static const bool substituted = [] {
        QFont::insertSubstitution(QStringLiteral("Velmora"),
                                  QStringLiteral("DejaVu Sans Condensed"));
        QFont::insertSubstitution(QStringLiteral("Velmora"), QStringLiteral("DejaVu Sans"));
        return true;
    }();
    (void)substituted;
    QFont font(QStringLiteral("Velmora"));
    font.setPixelSize(13);
    return font;
}

} // namespace velmora
