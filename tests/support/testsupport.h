#pragma once

#include "platform/desktop/shell.h"
#include "platform/ui/messagebox.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

class QColor;
class QTextEdit;
class QWidget;

namespace velmora::test {

struct ShownBox {
    QString text;
    QString caption;
    unsigned flags = 0;
    QString focus; // object name of the control that had the focus when the box came up
};

// Chooses the locale a test program runs under: the one LC_ALL names (CTest runs the page tests
// once under ru_RU.UTF-8 and once under en_US.UTF-8), else ru_RU.UTF-8, whose decimal separator
// is ",". Call before the QApplication is created.
void useTestLocale();

// Why the run's locale is not usable, or "" when it is: the C library must have the locale
// (scripts/common.sh generates it) and agree with Qt on the decimal separator. Call once the
// QApplication exists.
QString testLocaleProblem();

// Notes the top-level widgets there are as a test function begins, for verifyNoWindowLeftOpen().
// Call it first thing in init(), so a fixture made in initTestCase() counts as there before.
void recordTopLevelWidgets();

// Counts a widget that the running test function made to outlive it on purpose, a fixture of
// the whole test program made anew, as there before, so verifyNoWindowLeftOpen() passes it.
void recordFixture(QWidget* widget);

// Fails the running test, naming each, when a top-level window (a window, dialog, box or menu)
// is still open once the test has cleaned up, or when a top-level widget that no widget owns,
// shown or hidden, was made since recordTopLevelWidgets() and is still there: nothing would
// ever delete it. A window on its way out gets a moment to go. The open windows found are
// closed, so the next test starts clean; a widget left behind is not deleted, since the test
// may still hold it. Call it at the end of cleanup(), once the test's own windows are gone.
void verifyNoWindowLeftOpen();

// Writes a file, and the folders it needs, with the text, readable and writable by its owner and
// executable when asked; a file that cannot be written ends the test program.
void writeTestFile(const QString& path, const QByteArray& text, bool executable);

// The contrast of two colours as readability guidelines measure it: 1 (none) to 21.
double contrast(const QColor& one, const QColor& other);

// The decimal separator of the run's locale, as the C library reports it.
QChar testDecimalSeparator();

// The text with every "," replaced by the run's decimal separator, for expected numbers written
// with the comma.
QString withTestSeparator(QString text);

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

// One launch the shell layer was asked for, and what it came to.
struct ShellLaunch {
    ShellRequest request;
    ShellTarget target;
};

// Records every launch asked for while it lives, instead of starting anything.
class ShellRecorder {
public:
    ShellRecorder();
    ~ShellRecorder();
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;

    QList<ShellLaunch> launches;
};

// Points the settings store at an empty file in a fresh temporary folder while it lives.
class TemporaryStore {
public:
    TemporaryStore();
    ~TemporaryStore();
    QString path() const;
    // Replaces the whole store file with the given JSON text.
    void seed(const QByteArray& json) const;
    // Points the store below a plain file, where nothing can be created whoever runs the test:
    // every write is refused until this store goes away.
    void refuseWrites() const;

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
};

} // namespace velmora::test
