#pragma once

#include <QDialog>

namespace velmora {

// The About dialog; its contents come with the help and web links.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
};

extern TForm2* Form2;

} // namespace velmora
