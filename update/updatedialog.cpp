#include "update/updatedialog.h"
#include "ui_updatedialog.h"

#include "platform/uifont.h"

namespace velmora {

TForm4* Form4 = nullptr;

TForm4::TForm4(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::TForm4>()) {
    setFont(windowFont());
    m_ui->setupUi(this);
    setFixedSize(size());
}

TForm4::~TForm4() = default;

} // namespace velmora
