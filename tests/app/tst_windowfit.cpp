// The main window on the screens students have (1366×768 and 1920×1080, at 1× and at 1.5×, set
// by the run's offscreen screen and scale factor): placed anywhere and grown by each kind of
// solve, it stays inside the screen's available area and its answer lines stay visible.
#include "app/entry.h"
#include "app/mainwindow.h"
#include "solver/equationpage.h"
#include "state/global.h"
#include "tests/support/testsupport.h"
#include "tests/support/windows.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>

#include <memory>

using velmora::test::MessageBoxRecorder;
using velmora::test::TemporaryStore;

class TstWindowFit : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void windowStaysOnTheScreen_data();
    void windowStaysOnTheScreen();

private:
    std::unique_ptr<TemporaryStore> m_store;
};

void TstWindowFit::init() {
    velmora::test::recordTopLevelWidgets();
    qputenv("VELMORA_DATA_DIR", QByteArray(VELMORA_SOURCE_DIR));
    m_store = std::make_unique<TemporaryStore>();
}

void TstWindowFit::cleanup() {
    velmora::destroyWindows();
    m_store.reset();
    velmora::test::verifyNoWindowLeftOpen();
}

void TstWindowFit::windowStaysOnTheScreen_data() {
    QTest::addColumn<QString>("place"); // "centred", "low" (near the bottom edge), "top left"
    QTest::addColumn<bool>("biquadratic");
    QTest::addColumn<QStringList>("coefficients");

    const QStringList twoRoots = {"1", "-3", "2"};
    const QStringList fourRoots = {"1", "-5", "4"};
    for (const char* place : {"centred", "low", "top left"}) {
        QTest::addRow("%s, quadratic", place) << place << false << twoRoots;
        QTest::addRow("%s, biquadratic with four roots", place) << place << true << fourRoots;
    }
}

void TstWindowFit::windowStaysOnTheScreen() {
    QFETCH(QString, place);
    QFETCH(bool, biquadratic);
    QFETCH(QStringList, coefficients);

    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QPoint stored = area.topLeft();
    if (place == QLatin1String("low"))
        stored = area.bottomLeft() - QPoint(0, 200);
    const QString program =
        QStringLiteral(R"({"HKEY_LOCAL_MACHINE": {"SOFTWARE\\Velmora\\3.2": {
        "Language": "Russian", "Detailed solution": "true", "Replacement": "y",
        "Keep window position": "%1", "Keep window position_x": %2,
        "Keep window position_y": %3}}})")
            .arg(QLatin1String(place == QLatin1String("centred") ? "false" : "true"))
            .arg(stored.x())
            .arg(stored.y());
    m_store->seed(program.toUtf8());
    MessageBoxRecorder boxes;
    velmora::createMainWindow();
    velmora::TForm1* window = velmora::mainWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const auto inside = [&] {
        return area.contains(window->frameGeometry()) ? QString()
                                                      : QStringLiteral("%1,%2 %3×%4")
                                                            .arg(window->frameGeometry().x())
                                                            .arg(window->frameGeometry().y())
                                                            .arg(window->frameGeometry().width())
                                                            .arg(window->frameGeometry().height());
    };
    QCOMPARE(inside(), QString());

    velmora::EquationPage* page = window->equationPage();
    page->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentIndex(biquadratic ? 1 : 0);
    page->ComboBox1Change();
    for (int n = 0; n < 3; ++n)
        page->findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(n + 1))->setText(coefficients[n]);
    QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    QVERIFY(boxes.boxes.isEmpty());
    QCOMPARE(inside(), QString());

    // The solution box ends inside the window, and a box too short for its lines scrolls.
    const auto* memo = page->findChild<QTextEdit*>(QStringLiteral("Memo1"));
    const QRect memoInWindow(memo->mapTo(window, QPoint(0, 0)), memo->size());
    QVERIFY(window->rect().contains(memoInWindow));
    const int needed = 15 * page->solutionLineCount() + 27;
    if (memo->height() < needed)
        QVERIFY(memo->verticalScrollBar()->maximum() > 0);
}

QTEST_MAIN(TstWindowFit)
#include "tst_windowfit.moc"
