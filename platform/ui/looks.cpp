#include "platform/ui/looks.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
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

// The text colour of a field in the window colour that the user cannot edit: the window's text
// colour a quarter of the way towards the background, dimmed as disabled text is, yet readable
// on that background in light and dark palettes alike. The palette's own disabled text is made
// for the button-face colour and may all but vanish on the window colour.
QColor mutedText(const QPalette& system) {
    const QColor text = system.color(QPalette::Active, QPalette::Text);
    const QColor base = system.color(QPalette::Active, QPalette::Base);
    const auto mix = [](int ink, int paper) { return (3 * ink + paper) / 4; };
    return QColor(mix(text.red(), base.red()), mix(text.green(), base.green()),
                  mix(text.blue(), base.blue()));
}

} // namespace

void centreOnEveryShowing(QDialog* dialog) {
    dialog->installEventFilter(new PlacementForgetter(dialog));
}

void setFieldColour(QWidget* field, FieldColour colour) {
    const QPalette system = QApplication::palette();
    QPalette palette = field->palette();
    // Every colour group, so a disabled field shows the colour too.
    palette.setColor(QPalette::Base, systemColour(colour));
    palette.setColor(QPalette::Disabled, QPalette::Text,
                     colour == FieldColour::Window
                         ? mutedText(system)
                         : system.color(QPalette::Disabled, QPalette::Text));
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
