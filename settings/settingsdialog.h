#pragma once

#include <QDialog>

namespace velmora {

// The settings dialog, shown modally from the File menu.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
};

extern TForm3* Form3;

} // namespace velmora
