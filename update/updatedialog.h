#pragma once

#include <QDialog>

namespace velmora {

// The update dialog, shown when a newer version is offered.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);
};

extern TForm4* Form4;

} // namespace velmora
