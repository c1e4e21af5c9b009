#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TForm2;
}

namespace velmora {

// The About dialog; its contents come with the help and web links.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

private:
    std::unique_ptr<Ui::TForm2> m_ui;
};

extern TForm2* Form2;

} // namespace velmora
