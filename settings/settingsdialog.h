#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TForm3;
}

namespace velmora {

// The settings dialog, shown modally from the File menu.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
    ~TForm3() override;

private:
    std::unique_ptr<Ui::TForm3> m_ui;
};

extern TForm3* Form3;

} // namespace velmora
