#include "update/updatedialog.h"

#include "platform/uifont.h"

namespace velmora {

TForm4* Form4 = nullptr;

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
    setFont(windowFont());
    setWindowTitle(QStringLiteral("Обновление"));
}

} // namespace velmora
