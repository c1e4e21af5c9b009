#include "tests/support/testsupport.h"

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <optional>

namespace velmora::test {

void useTestLocale() {
    if (qEnvironmentVariableIsEmpty("LC_ALL")) {
        qputenv("LC_ALL", "ru_RU.UTF-8");
        qputenv("LANG", "ru_RU.UTF-8");
    }
}

QString testLocaleProblem() {
    // QCoreApplication has made the environment's locale the C library's, if it exists.
    const QByteArray wanted = qgetenv("LC_ALL");
    const QByteArray active = std::setlocale(LC_ALL, nullptr);
    if (active != wanted)
        return QStringLiteral("the C library has no locale %1 (it runs under %2); "
                              "scripts/common.sh generates it")
            .arg(QString::fromLatin1(wanted), QString::fromLatin1(active));
    const QString qtSeparator = QLocale::system().decimalPoint();
    if (qtSeparator != QString(testDecimalSeparator()))
        return QStringLiteral("Qt reads the decimal separator %1 from %2, the C library %3")
            .arg(qtSeparator, QString::fromLatin1(wanted), QString(testDecimalSeparator()));
    return QString();
}

namespace {

// The top-level widgets there were when the running test function began; unset before the
// first snapshot.
std::optional<QList<QPointer<QWidget>>> topLevelsBefore;

QList<QWidget*> openWindows() {
    QList<QWidget*> open;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            open << window;
    }
    return open;
}

// The top-level widgets made since the snapshot that no widget owns. A window with a parent
// goes with its parent, so it is left out: a dialog that a window keeps for the next time, and
// the popups Qt makes when first needed and keeps (a combo box's list, a menu, a completer's
// list); were the parent itself left behind, it is named. Qt's parentless helpers (the
// tool tip's label) delete themselves once hidden, within the wait below.
QList<QWidget*> leftBehind() {
    QSet<const QWidget*> before;
    for (const QPointer<QWidget>& widget : *topLevelsBefore) {
        if (widget)
            before.insert(widget.data());
    }
    QList<QWidget*> left;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!widget->parentWidget() && !before.contains(widget))
            left << widget;
    }
    return left;
}

QString described(const QWidget* window) {
    return QStringLiteral("%1 \"%2\" (%3)")
        .arg(QString::fromLatin1(window->metaObject()->className()), window->windowTitle(),
             window->objectName());
}

} // namespace

void recordTopLevelWidgets() {
    topLevelsBefore.emplace();
    for (QWidget* widget : QApplication::topLevelWidgets())
        topLevelsBefore->append(widget);
}

void recordFixture(QWidget* widget) {
    if (topLevelsBefore)
        topLevelsBefore->append(widget);
}

void verifyNoWindowLeftOpen() {
    if (!topLevelsBefore)
        QFAIL("no top-level widgets were recorded: call recordTopLevelWidgets() in init()");
    // Each test function takes its own snapshot.
    const auto forget = qScopeGuard([] { topLevelsBefore.reset(); });
    // A dialog closed by a queued call, or deleted later, is gone once the events have run.
    if (QTest::qWaitFor([] { return openWindows().isEmpty() && leftBehind().isEmpty(); }, 2000))
        return;
    QStringList open;
    for (QWidget* window : openWindows()) {
        open << described(window);
        window->close();
        window->hide();
    }
    QStringList left;
    for (const QWidget* widget : leftBehind())
        left << described(widget);
    // What is still there now belongs to the next test's snapshot, so each is named once.
    QStringList problems;
    if (!open.isEmpty())
        problems << QStringLiteral("left open: ") + open.join(u", ");
    if (!left.isEmpty())
        problems << QStringLiteral("left behind, owned by no widget: ") + left.join(u", ");
    if (!problems.isEmpty())
        QFAIL(qPrintable(problems.join(u"; ")));
}

void writeTestFile(const QString& path, const QByteArray& text, bool executable) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(path));
    file.close();
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
    if (executable)
        permissions |= QFile::ExeOwner;
    file.setPermissions(permissions);
}

// The contrast of two colours as readability guidelines measure it: 1 (none) to 21.
double contrast(const QColor& one, const QColor& other) {
    const auto luminance = [](const QColor& colour) {
        const auto linear = [](double c) {
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
               0.0722 * linear(colour.blueF());
    };
    const double a = luminance(one);
    const double b = luminance(other);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QChar testDecimalSeparator() {
    return QLatin1Char(*std::localeconv()->decimal_point);
}

QString withTestSeparator(QString text) {
    return text.replace(QLatin1Char(','), testDecimalSeparator());
}

QString verticalOverflow(const QTextEdit* box) {
    const qreal text = box->document()->size().height();
    const int view = box->viewport()->height();
    const int range = box->verticalScrollBar()->maximum();
    if (text <= view && range == 0)
        return QString();
    return QStringLiteral("text %1 px high in a view of %2 px, scroll range %3")
        .arg(text)
        .arg(view)
        .arg(range);
}

MessageBoxRecorder::MessageBoxRecorder(int answer) {
    setMessageBoxHandler(
        [this, answer](const QString& text, const QString& caption, unsigned flags) {
            const QWidget* focus = QApplication::focusWidget();
            boxes.append({text, caption, flags, focus ? focus->objectName() : QString()});
            return answer;
        });
}

MessageBoxRecorder::~MessageBoxRecorder() {
    setMessageBoxHandler({});
}

ShellRecorder::ShellRecorder() {
    setShellHandler([this](const ShellRequest& request, const ShellTarget& target) {
        launches.append({request, target});
    });
}

ShellRecorder::~ShellRecorder() {
    setShellHandler({});
}

TemporaryStore::TemporaryStore() : m_previous(qgetenv("VELMORA_REGISTRY")) {
    qputenv("VELMORA_REGISTRY", path().toLocal8Bit());
}

TemporaryStore::~TemporaryStore() {
    qputenv("VELMORA_REGISTRY", m_previous);
}

QString TemporaryStore::path() const {
    return m_dir.filePath(QStringLiteral("registry.json"));
}

void TemporaryStore::refuseWrites() const {
    const QString blocker = m_dir.filePath(QStringLiteral("blocker"));
    QFile file(blocker);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot make the file that blocks the store");
    qputenv("VELMORA_REGISTRY", (blocker + QStringLiteral("/registry.json")).toLocal8Bit());
}

void TemporaryStore::seed(const QByteArray& json) const {
    QFile file(path());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(json) != json.size())
        qFatal("cannot seed the test store");
}

} // namespace velmora::test
