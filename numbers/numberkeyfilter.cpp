#include "numbers/numberkeyfilter.h"

#include "platform/base/locale.h"
#include "platform/ui/errorreport.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace velmora {

bool isNumberEntryCharacter(char16_t character, QChar separator) {
    return character == u'\b' || character == u',' || character == u'-' ||
           (character >= u'0' && character <= u'9') || character == separator.unicode();
}

char16_t typedCharacter(char16_t character, QChar separator) {
    if (character == u'.' || character == u',')
        return separator.unicode();
    return character;
}

NumberKeyFilter::NumberKeyFilter(QObject* parent, std::function<void()> enterAction)
    : QObject(parent), m_enterAction(std::move(enterAction)),
      m_separator(localeDecimalSeparator()) {}

void NumberKeyFilter::watch(QLineEdit* field) {
    field->installEventFilter(this);
}

bool NumberKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    // The shortcuts the field's own menu shows do what its menu items do. A paste is taken
    // as the menu's Paste takes it; the solve checks the text as it checks typed text.
    for (const QKeySequence::StandardKey editing :
         {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste, QKeySequence::SelectAll,
          QKeySequence::Undo, QKeySequence::Redo}) {
        if (key->matches(editing))
            return false;
    }
    const QString text = key->text();
    // Keys that type no character are the field's own business: moving, deleting, focus.
    if (text.isEmpty() || key->key() == Qt::Key_Delete || key->key() == Qt::Key_Tab ||
        key->key() == Qt::Key_Backtab)
        return false;
    const char16_t character = text.front().unicode();
    if (character == u'\r') {
        if (m_enterAction)
            guarded(m_enterAction);
        return true;
    }
    const char16_t typed = typedCharacter(character, m_separator);
    if (!isNumberEntryCharacter(typed, m_separator))
        return true;
    if (typed == character)
        return false;
    // The other decimal mark: the field gets the separator in its place, as typing it would
    // (the length limit holds, and the edit can be undone).
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (field && !field->isReadOnly())
        field->insert(QString(QChar(typed)));
    return true;
}

} // namespace velmora
