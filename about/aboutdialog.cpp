#include "about/aboutdialog.h"

#include "platform/uifont.h"

namespace velmora {

TForm2* Form2 = nullptr;

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
    setFont(windowFont());
    setWindowTitle(QStringLiteral("О программе"));
}

} // namespace velmora
