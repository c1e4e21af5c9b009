#include "numbers/numberkeyfilter.h"

#include "platform/errorreport.h"
#include "platform/locale.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace velmora {

bool isNumberEntryCharacter(char16_t character, QChar separator) {
    return character == u'\b' || character == u',' || character == u'-' ||
           (character >= u'0' && character <= u'9') || character == separator.unicode();
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
    return !isNumberEntryCharacter(character, m_separator);
}

} // namespace velmora
