#include "settings/settingsdialog.h"
#include "ui_settingsdialog.h"

#include "platform/uifont.h"

namespace velmora {

TForm3* Form3 = nullptr;

TForm3::TForm3(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::TForm3>()) {
    setFont(windowFont());
    m_ui->setupUi(this);
    setFixedSize(size());
}

TForm3::~TForm3() = default;

} // namespace velmora
