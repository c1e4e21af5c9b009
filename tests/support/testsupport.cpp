#include "tests/support/testsupport.h"

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <clocale>
#include <cmath>

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

QList<QWidget*> openWindows() {
    QList<QWidget*> open;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            open << window;
    }
    return open;
}

} // namespace

void verifyNoWindowLeftOpen() {
    // A dialog closed by a queued call, or deleted later, is gone once the events have run.
    if (QTest::qWaitFor([] { return openWindows().isEmpty(); }, 2000))
        return;
    QStringList names;
    for (QWidget* window : openWindows()) {
        names << QStringLiteral("%1 \"%2\" (%3)")
                     .arg(QString::fromLatin1(window->metaObject()->className()),
                          window->windowTitle(), window->objectName());
        window->close();
        window->hide();
    }
    if (!names.isEmpty())
        QFAIL(qPrintable(QStringLiteral("left open: ") + names.join(u", ")));
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
