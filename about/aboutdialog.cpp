#include "about/aboutdialog.h"
#include "ui_aboutdialog.h"

#include "platform/uifont.h"

namespace velmora {

TForm2* Form2 = nullptr;

TForm2::TForm2(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::TForm2>()) {
    setFont(windowFont());
    m_ui->setupUi(this);
    setFixedSize(size());
}

TForm2::~TForm2() = default;

} // namespace velmora
