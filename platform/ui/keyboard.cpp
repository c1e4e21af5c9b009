#include "platform/ui/keyboard.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QShortcut>
#include <QStyleOptionMenuItem>

#include <algorithm>

namespace velmora {
namespace {

class EnterPressesButton : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<const QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto* button = qobject_cast<QPushButton*>(watched);
        if (!button || !button->hasFocus() || !button->isEnabled() || !button->isVisible())
            return false;
        // Held down, Enter presses the button once, as Space does.
        if (!key->isAutoRepeat())
            button->click();
        return true;
    }
};

bool runsMenuItem(const QList<QAction*>& actions, const QKeySequence& pressed) {
    return std::any_of(actions.begin(), actions.end(), [&pressed](const QAction* action) {
        if (const QMenu* menu = action->menu())
            return runsMenuItem(menu->actions(), pressed);
        return action->isEnabled() && action->shortcuts().contains(pressed);
    });
}

// A field asked whether it keeps a key is told no when the key runs an item of its window's
// menu bar: the key event then goes on to the item's shortcut.
class MenuShortcutsFirst : public QObject {
public:
    explicit MenuShortcutsFirst(QWidget* window) : QObject(window), m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride)
            return false;
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != m_window)
            return false;
        const QKeySequence pressed(static_cast<const QKeyEvent*>(event)->keyCombination());
        const QList<QMenuBar*> bars = m_window->findChildren<QMenuBar*>();
        if (std::none_of(bars.begin(), bars.end(), [&pressed](const QMenuBar* bar) {
                return runsMenuItem(bar->actions(), pressed);
            }))
            return false;
        event->ignore();
        return true;
    }

private:
    QWidget* m_window;
};

// The toolkit's own menu bar does the Alt key's part on a style that asks for it; the
// desktop's style need not, so the menu bar alone gets a style that does. Styles draw the
// highlighted menu only while it is open; with the keyboard on the bar, the highlighted one is
// drawn so too, or the user could not see where the keyboard is.
class AltKeyNavigationStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* answer) const override {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, answer);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (element == CE_MenuBarItem && item && (item->state & State_Selected) && widget &&
            widget->hasFocus()) {
            QStyleOptionMenuItem highlighted(*item);
            highlighted.state |= State_Sunken;
            QProxyStyle::drawControl(element, &highlighted, painter, widget);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

// The menu bar follows a lone Alt through its window: the Alt press arrives as a shortcut
// check, its release as a key release. F10 plays that pair to it. (A key event of the Alt key
// reports the Alt modifier as the key changes it, so the press is made without it.)
void playLoneAlt(QMenuBar* bar) {
    QWidget* window = bar->window();
    QKeyEvent press(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &release);
}

} // namespace

void letEnterPressFocusedButtons() {
    static const QString name = QStringLiteral("velmora-enter-presses-buttons");
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || application->findChild<QObject*>(name, Qt::FindDirectChildrenOnly))
        return;
    auto* filter = new EnterPressesButton(application);
    filter->setObjectName(name);
    application->installEventFilter(filter);
}

void giveMenuShortcutsPrecedence(QWidget* window) {
    static const QString name = QStringLiteral("velmora-menu-shortcuts-first");
    if (window->findChild<QObject*>(name, Qt::FindDirectChildrenOnly))
        return;
    auto* filter = new MenuShortcutsFirst(window);
    filter->setObjectName(name);
    QCoreApplication::instance()->installEventFilter(filter);
}

void giveMenuBarKeyboardAccess(QMenuBar* bar) {
    auto* style = new AltKeyNavigationStyle;
    style->setParent(bar);
    bar->setStyle(style);
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), bar->window());
    QObject::connect(f10, &QShortcut::activated, bar, [bar] { playLoneAlt(bar); });
}

QStringList withMnemonics(const QStringList& captions) {
    QString taken;
    QStringList marked;
    for (const QString& caption : captions) {
        qsizetype chosen = -1;
        for (const bool wordStartsOnly : {true, false}) {
            for (qsizetype i = 0; i < caption.size() && chosen < 0; ++i) {
                const QChar c = caption[i];
                const bool wordStart = i == 0 || !caption[i - 1].isLetterOrNumber();
                if (c.isLetterOrNumber() && (wordStart || !wordStartsOnly) &&
                    !taken.contains(c.toLower()))
                    chosen = i;
            }
        }
        QString text;
        for (qsizetype i = 0; i < caption.size(); ++i) {
            if (i == chosen)
                text += QLatin1Char('&');
            text += caption[i];
            if (caption[i] == QLatin1Char('&'))
                text += QLatin1Char('&');
        }
        if (chosen >= 0)
            taken += caption[chosen].toLower();
        marked << text;
    }
    return marked;
}

namespace {

void markActions(const QList<QAction*>& actions) {
    QList<QAction*> items;
    QStringList captions;
    for (QAction* action : actions) {
        if (action->isSeparator() || action->text().isEmpty())
            continue;
        items << action;
        captions << action->text();
    }
    const QStringList marked = withMnemonics(captions);
    for (qsizetype i = 0; i < items.size(); ++i) {
        items[i]->setText(marked[i]);
        if (QMenu* submenu = items[i]->menu())
            markActions(submenu->actions());
    }
}

} // namespace

void giveMenuMnemonics(QMenuBar* bar) {
    markActions(bar->actions());
}

} // namespace velmora
