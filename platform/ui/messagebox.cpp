#include "platform/ui/messagebox.h"

#include <QApplication>
#include <QMessageBox>

namespace velmora {
namespace {

MessageBoxHandler& handlerSlot() {
    static MessageBoxHandler handler;
    return handler;
}

QMessageBox::Icon iconFor(unsigned flags) {
    switch (flags & 0xF0) {
    case 0x10:
        return QMessageBox::Critical;
    case 0x20:
        return QMessageBox::Question;
    case 0x30:
        return QMessageBox::Warning;
    case 0x40:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

int showMessageBox(const QString& text, const QString& caption, unsigned flags) {
    if (const auto& handler = handlerSlot())
        return handler(text, caption, flags);

    const bool yesNo = (flags & 0x0F) == 0x04;
    QMessageBox box(iconFor(flags), caption, text,
                    yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok,
                    QApplication::activeWindow());
    // Texts carry what the user typed; markup in them is shown, never rendered.
    box.setTextFormat(Qt::PlainText);
    const int answer = box.exec();
    if (answer == QMessageBox::Yes)
        return AnswerYes;
    if (answer == QMessageBox::No)
        return AnswerNo;
    return AnswerOk;
}

void setMessageBoxHandler(MessageBoxHandler handler) {
    handlerSlot() = std::move(handler);
}

} // namespace velmora
