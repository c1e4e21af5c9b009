// The mark of the keyboard focus on the settings dialog's selectors and the main window's page
// tabs: reached with the Tab key, or holding the focus as the dialog opens, each shows a mark
// that stands out 3:1 from what was there before, in light and dark palettes. CTest runs it at
// the scales 1 and 1.5. With VELMORA_SCREENSHOTS set to a folder, the pictures compared and the
// window around them are saved there for a person to look at.
#include "app/entry.h"
#include "app/mainwindow.h"
#include "settings/settingsdialog.h"
#include "state/global.h"
#include "state/language.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QPalette>
#include <QScopeGuard>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <cmath>
#include <memory>
#include <utility>

using velmora::test::contrast;
using velmora::test::MessageBoxRecorder;
using velmora::test::TemporaryStore;

namespace {

// A dark desktop theme, every role the style draws frames and marks with.
QPalette darkPalette() {
    QPalette dark;
    for (const auto& [role, colour] : {std::pair{QPalette::Window, "#353535"},
                                       {QPalette::WindowText, "#eeeeec"},
                                       {QPalette::Base, "#2d2d2d"},
                                       {QPalette::AlternateBase, "#353535"},
                                       {QPalette::Text, "#eeeeec"},
                                       {QPalette::Button, "#3a3a3a"},
                                       {QPalette::ButtonText, "#eeeeec"},
                                       {QPalette::Light, "#4a4a4a"},
                                       {QPalette::Midlight, "#404040"},
                                       {QPalette::Mid, "#2a2a2a"},
                                       {QPalette::Dark, "#1e1e1e"},
                                       {QPalette::Shadow, "#101010"},
                                       {QPalette::Highlight, "#2a76c6"},
                                       {QPalette::HighlightedText, "#ffffff"}})
        dark.setColor(role, QColor(QLatin1String(colour)));
    return dark;
}

// How many pixels of the focused picture stand 3:1 or more from the same pixel unfocused, and
// how many differ at all.
std::pair<int, int> markedPixels(const QImage& unfocused, const QImage& focused) {
    int marked = 0;
    int changed = 0;
    for (int y = 0; y < focused.height(); ++y) {
        for (int x = 0; x < focused.width(); ++x) {
            const QColor before = unfocused.pixelColor(x, y);
            const QColor after = focused.pixelColor(x, y);
            marked += contrast(after, before) >= 3;
            changed += after != before;
        }
    }
    return {marked, changed};
}

} // namespace

class TstFocusMarks : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void focusIsMarked_data();
    void focusIsMarked();

private:
    std::unique_ptr<TemporaryStore> m_store;
    std::unique_ptr<MessageBoxRecorder> m_boxes;
    std::unique_ptr<QWidget> m_window;
};

void TstFocusMarks::initTestCase() {
    // The looks every window of the program gets, and the captions of the shipped Russian file.
    velmora::initApplication();
    qputenv("VELMORA_DATA_DIR", QByteArray(VELMORA_SOURCE_DIR));
    velmora::Global::setLanguageName(QStringLiteral("Russian"));
    velmora::loadLanguage(QStringLiteral("Russian"));
}

void TstFocusMarks::init() {
    velmora::test::recordTopLevelWidgets();
    m_store = std::make_unique<TemporaryStore>();
    m_boxes = std::make_unique<MessageBoxRecorder>();
}

void TstFocusMarks::cleanup() {
    m_window.reset();
    m_boxes.reset();
    m_store.reset();
    velmora::test::verifyNoWindowLeftOpen();
}

void TstFocusMarks::focusIsMarked_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("byTab"); // reached with the Tab key, else focused as the window opens
    QTest::addColumn<bool>("dark");
    for (const bool dark : {false, true}) {
        const char* palette = dark ? "dark" : "light";
        for (const char* control : {"ComboBox1", "ComboBox2", "page tabs"})
            QTest::addRow("%s, Tab key, %s", control, palette)
                << QString::fromLatin1(control) << true << dark;
        // The settings dialog opens with the focus on its first selector.
        QTest::addRow("ComboBox1, as the dialog opens, %s", palette)
            << QStringLiteral("ComboBox1") << false << dark;
    }
}

void TstFocusMarks::focusIsMarked() {
    QFETCH(QString, control);
    QFETCH(bool, byTab);
    QFETCH(bool, dark);
    const QPalette previous = QApplication::palette();
    QApplication::setPalette(dark ? darkPalette() : QApplication::style()->standardPalette());
    const auto restore = qScopeGuard([&previous] { QApplication::setPalette(previous); });

    QWidget* target = nullptr;
    if (control == QLatin1String("page tabs")) {
        auto* window = new velmora::TForm1;
        m_window.reset(window);
        window->language();
        target = window->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->tabBar();
    } else {
        m_window = std::make_unique<velmora::TForm3>();
        target = m_window->findChild<QComboBox*>(control);
    }
    QVERIFY(target);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));

    // Reached as a keyboard user reaches it, then left with the Tab key: the look it has while
    // the keyboard passes over the window.
    if (byTab) {
        for (int presses = 0; presses < 40; ++presses) {
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus ? focus : m_window.get(), Qt::Key_Tab);
            if (target->hasFocus())
                break;
        }
    }
    QVERIFY(target->hasFocus());
    const QImage focused = target->grab().toImage();
    QTest::keyClick(target, Qt::Key_Tab);
    QVERIFY(!target->hasFocus());
    const QImage unfocused = target->grab().toImage();
    QCOMPARE(focused.size(), unfocused.size());

    const QString folder = qEnvironmentVariable("VELMORA_SCREENSHOTS");
    if (!folder.isEmpty()) {
        const QString name = QStringLiteral("%1/focus-%2-%3-%4-%5x")
                                 .arg(folder, QString(control).replace(u' ', u'-'),
                                      byTab ? u"tab" : u"opening", dark ? u"dark" : u"light")
                                 .arg(focused.devicePixelRatio());
        focused.save(name + QStringLiteral("-focused.png"));
        unfocused.save(name + QStringLiteral("-unfocused.png"));
        target->setFocus(Qt::TabFocusReason);
        m_window->grab().save(name + QStringLiteral("-window.png"));
    }
    // At least as many pixels as a line one pixel wide all around the control (for a tab bar,
    // around its focused tab), at the scale the window is drawn at, show the mark.
    QRect area = target->rect();
    if (const auto* tabs = qobject_cast<QTabBar*>(target))
        area = tabs->tabRect(tabs->currentIndex());
    const double scale = focused.devicePixelRatio();
    const int ring = static_cast<int>(2 * (area.width() + area.height()) * scale * scale);
    const auto [marked, changed] = markedPixels(unfocused, focused);
    QVERIFY2(marked >= ring,
             qPrintable(QStringLiteral("%1 pixels marked 3:1, %2 changed at all, of %3 wanted")
                            .arg(marked)
                            .arg(changed)
                            .arg(ring)));
}

QTEST_MAIN(TstFocusMarks)
#include "tst_focusmarks.moc"
