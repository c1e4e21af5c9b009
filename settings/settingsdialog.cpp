#include "settings/settingsdialog.h"

#include "platform/uifont.h"

namespace velmora {

TForm3* Form3 = nullptr;

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
    setFont(windowFont());
    setWindowTitle(QStringLiteral("Настройки"));
}

} // namespace velmora
