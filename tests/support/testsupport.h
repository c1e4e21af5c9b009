#pragma once

#include "platform/messagebox.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

class QTextEdit;

namespace velmora::test {

struct ShownBox {
    QString text;
    QString caption;
    unsigned flags = 0;
};

// Makes the system locale one whose decimal separator is ",", whatever the machine's. Qt takes
// the separator from the locale's name in LC_ALL, so the C library need not have the locale.
// Call before the QApplication is created.
void useCommaDecimalLocale();

// What of a text box's contents lies below its view ("" when every line is in view): the
// height of the text against the view's, and the vertical scroll range.
QString verticalOverflow(const QTextEdit* box);

// Records every message box shown while it lives and answers each with a fixed button, so
// nothing modal blocks a test.
class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int answer = AnswerOk);
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    QList<ShownBox> boxes;
};

// Points the settings store at an empty file in a fresh temporary folder while it lives.
class TemporaryStore {
public:
    TemporaryStore();
    ~TemporaryStore();
    QString path() const;
    // Replaces the whole store file with the given JSON text.
    void seed(const QByteArray& json) const;

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
};

} // namespace velmora::test
