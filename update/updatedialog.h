#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TForm4;
}

namespace velmora {

// The update dialog, shown when a newer version is offered.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);
    ~TForm4() override;

private:
    std::unique_ptr<Ui::TForm4> m_ui;
};

extern TForm4* Form4;

} // namespace velmora
