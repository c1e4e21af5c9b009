#include "platform/looks.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QWidget>

namespace velmora {
namespace {

QColor systemColour(FieldColour colour) {
    const QPalette system = QApplication::palette();
    return colour == FieldColour::Window ? system.color(QPalette::Active, QPalette::Base)
                                         : system.color(QPalette::Active, QPalette::Button);
}

} // namespace

void setFieldColour(QWidget* field, FieldColour colour) {
    QPalette palette = field->palette();
    // Every colour group, so a disabled field shows the colour too.
    palette.setColor(QPalette::Base, systemColour(colour));
    field->setPalette(palette);
}

void setActiveLook(QWidget* field, bool active) {
    field->setEnabled(active);
    setFieldColour(field, active ? FieldColour::Window : FieldColour::ButtonFace);
}

void setAutoSizedText(QLabel* label, const QString& text) {
    label->setText(text);
    label->resize(label->sizeHint().width(), label->height());
}

void showResultText(QLineEdit* field, const QString& text) {
    field->setText(text);
    field->setCursorPosition(0);
}

bool hasFieldColour(const QWidget* field, FieldColour colour) {
    return field->palette().color(QPalette::Active, QPalette::Base) == systemColour(colour);
}

} // namespace velmora
