#include "platform/looks.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QPalette>
#include <QWidget>

namespace velmora {
namespace {

QColor systemColour(FieldColour colour) {
    const QPalette system = QApplication::palette();
    return colour == FieldColour::Window ? system.color(QPalette::Active, QPalette::Base)
                                         : system.color(QPalette::Active, QPalette::Button);
}

// Clears the mark of a placed window before the dialog sees its show event, where it centres
// itself when the mark is not set.
class PlacementForgetter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && !event->spontaneous())
            static_cast<QWidget*>(watched)->setAttribute(Qt::WA_Moved, false);
        return false;
    }
};

} // namespace

void centreOnEveryShowing(QDialog* dialog) {
    dialog->installEventFilter(new PlacementForgetter(dialog));
}

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

bool hasFieldColour(const QWidget* field, FieldColour colour) {
    return field->palette().color(QPalette::Active, QPalette::Base) == systemColour(colour);
}

} // namespace velmora
