#include "platform/ui/looks.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleOptionComplex>
#include <QStyleOptionFrame>
#include <QTabBar>
#include <QToolTip>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <iterator>

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

// Shows the whole text of a field that cannot show it all, when the pointer rests on it.
class WholeTextTip : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip)
            return false;
        auto* field = static_cast<QLineEdit*>(watched);
        const auto* help = static_cast<QHelpEvent*>(event);
        if (showsWholeText(field))
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), field->text(), field);
        return true;
    }
};

// The focus colour of a control's face: the desktop's selection colour, made darker on light
// grounds and lighter on dark ones until it stands out 3:1 from every ground the control may
// show (a dark theme's selection blue reads about 2.5:1 on its button face). Styles shade a
// face from the button colour, and Fusion lights a dark theme's combo box up to 75 % at its
// inner edge, so that shade counts as a ground too.
QColor focusColour(const QPalette& palette) {
    const QColor button = palette.color(QPalette::Active, QPalette::Button);
    const bool lightGround = button.lightnessF() > 0.5;
    const QColor grounds[] = {button, lightGround ? button.darker(110) : button.lighter(180),
                              palette.color(QPalette::Active, QPalette::Base),
                              palette.color(QPalette::Active, QPalette::Window)};
    const auto reaches = [&grounds](const QColor& colour) {
        return std::all_of(std::begin(grounds), std::end(grounds), [&colour](const QColor& ground) {
            return contrastRatio(colour, ground) >= 3;
        });
    };
    QColor colour = palette.color(QPalette::Active, QPalette::Highlight);
    for (int step = 0; step < 40 && !reaches(colour); ++step)
        colour = lightGround ? colour.darker(106) : colour.lighter(106);
    if (reaches(colour))
        return colour;
    // A selection colour that no shade of it sets apart: the text's colour does.
    return palette.color(QPalette::Active, QPalette::ButtonText);
}

// A ring two pixels wide just inside `area`, square-cornered so whole pixels carry it.
void drawFocusRing(QPainter* painter, const QRectF& area, const QColor& colour) {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(colour, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter->drawRect(area.adjusted(1, 1, -1, -1));
    painter->restore();
}

// The application's style, with marks that stand out 3:1 where the desktop's themes do not
// always give them: a ring around check boxes and radio buttons in a colour between the
// window's text and the window, and a ring of the keyboard focus on combo boxes and tabs, which
// the style marks only faintly (or not at all once a window opens with the focus on them).
class ReadableMarks : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_FrameFocusRect) {
            if (const auto* bar = qobject_cast<const QTabBar*>(widget)) {
                // Just inside the tab's edge, clear of its label, which the style's own mark
                // runs through; in the tab's text colour, which reads on its ground whether the
                // tab is the selected one (in the selection colour) or not.
                const int tab = bar->tabAt(option->rect.center());
                const QRect area =
                    tab < 0 ? option->rect : bar->tabRect(tab).adjusted(3, 3, -3, -3);
                drawFocusRing(painter, area, option->palette.color(QPalette::WindowText));
                return;
            }
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        const bool indicator =
            element == PE_IndicatorCheckBox || element == PE_IndicatorRadioButton;
        if (!indicator || !(option->state & State_Enabled))
            return;
        const QColor window = option->palette.color(QPalette::Window);
        const QColor text = option->palette.color(QPalette::WindowText);
        if (contrastRatio(option->palette.color(QPalette::Base), window) >= 3)
            return;
        // As little of the text colour as reaches 3:1, so the ring does not outshine the label.
        QColor ring = text;
        for (int part = 1; part <= 10; ++part) {
            const double share = part / 10.0;
            const QColor mixed =
                QColor::fromRgbF(window.redF() + (text.redF() - window.redF()) * share,
                                 window.greenF() + (text.greenF() - window.greenF()) * share,
                                 window.blueF() + (text.blueF() - window.blueF()) * share);
            if (contrastRatio(mixed, window) >= 3) {
                ring = mixed;
                break;
            }
        }
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setBrush(Qt::NoBrush);
        if (element == PE_IndicatorRadioButton) {
            // A thin circle is all blended edge; a broader pen leaves whole pixels of the ring.
            painter->setPen(QPen(ring, 1.5));
            painter->drawEllipse(QRectF(option->rect).adjusted(0.75, 0.75, -0.75, -0.75));
        } else {
            painter->setPen(QPen(ring, 1));
            painter->drawRoundedRect(QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5), 1.5, 1.5);
        }
        painter->restore();
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        // Inside the frame, on the face, whatever moved the focus there: a dialog that opens
        // with the focus on its first combo box shows where the keyboard is.
        if (control == CC_ComboBox && (option->state & State_HasFocus) &&
            (option->state & State_Enabled))
            drawFocusRing(painter, QRectF(option->rect).adjusted(1, 1, -1, -1),
                          focusColour(option->palette));
    }
};

} // namespace

void drawReadableMarks() {
    if (!dynamic_cast<ReadableMarks*>(QApplication::style()))
        QApplication::setStyle(new ReadableMarks);
}

double contrastRatio(const QColor& one, const QColor& other) {
    const auto luminance = [](const QColor& colour) {
        const auto channel = [](double value) {
            return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
               0.0722 * channel(colour.blueF());
    };
    const double a = luminance(one);
    const double b = luminance(other);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor groundForInk(const QColor& ground, const QColor& ink, double ratio) {
    QColor shaded = ground;
    const bool lightInk = ink.lightnessF() > ground.lightnessF();
    for (int step = 0; step < 40 && contrastRatio(shaded, ink) < ratio; ++step)
        shaded = lightInk ? shaded.darker(106) : shaded.lighter(106);
    return shaded;
}

void showWholeTextAsToolTip(QLineEdit* field) {
    field->installEventFilter(new WholeTextTip(field));
}

bool showsWholeText(const QLineEdit* field) {
    QStyleOptionFrame option;
    option.initFrom(field);
    option.lineWidth = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth,
                                                                       &option, field)
                                         : 0;
    const QRect room = field->style()
                           ->subElementRect(QStyle::SE_LineEditContents, &option, field)
                           .marginsRemoved(field->textMargins());
    // The line edit keeps a couple of pixels beside the text for its cursor.
    constexpr int CursorRoom = 4;
    return field->fontMetrics().horizontalAdvance(field->text()) + CursorRoom <= room.width();
}

void setFittedText(QLabel* label, const QString& text, int largestPixelSize,
                   int smallestPixelSize) {
    QFont font = label->font();
    const int room =
        label->contentsRect().width() - 2 * label->margin() - 2 * std::max(label->indent(), 0);
    int size = largestPixelSize;
    for (; size > smallestPixelSize; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).horizontalAdvance(text) <= room)
            break;
    }
    font.setPixelSize(size);
    label->setFont(font);
    label->setText(text);
}

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
