// The main window answers while the update check waits on a server that never answers: typing
// and solving work although the check is held for as long as the test runs, so nothing the window
// does waits for it; closing then ends the check, which only the stop can end.
#include "app/entry.h"
#include "app/mainwindow.h"
#include "platform/net/download.h"
#include "tests/support/httpserver.h"
#include "tests/support/testsupport.h"
#include "tests/support/windows.h"
#include "update/manifest.h"
#include "update/updatecontroller.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

using velmora::test::HttpAnswer;
using velmora::test::HttpTestServer;

class TstUpdateResponsive : public QObject {
    Q_OBJECT

private slots:
    void init() { velmora::test::recordTopLevelWidgets(); }
    void cleanup() { velmora::test::verifyNoWindowLeftOpen(); }
    void windowAnswersWhileTheServerStalls();
};

void TstUpdateResponsive::windowAnswersWhileTheServerStalls() {
    // Only a day would end the transfer: within the test nothing but the stop ends the check.
    velmora::setDownloadTimeouts({2000, 86400, 86400});
    HttpTestServer server;
    const QString manifest = QString::fromLatin1(velmora::manifest::ServerPath);
    server.answer(manifest, HttpAnswer::of(HttpAnswer::Kind::Silent, {}));
    qputenv("VELMORA_UPDATE_SERVER", server.base().toLatin1());
    velmora::test::TemporaryStore store;
    store.seed(R"({"HKEY_LOCAL_MACHINE":{"SOFTWARE\\Velmora\\3.2":{"Language":"English",
                  "Auto update":"false","Detailed solution":"true"}}})");
    qputenv("VELMORA_DATA_DIR", VELMORA_SOURCE_DIR);
    velmora::test::MessageBoxRecorder boxes;

    velmora::createWindows();
    velmora::TForm1* window = velmora::mainWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    window->findChild<QAction*>(QStringLiteral("N9"))->trigger();
    velmora::UpdateController* updates = window->updates();
    QVERIFY(updates && updates->checkRunning());
    QTRY_COMPARE(server.requests(manifest), 1);

    // The user types and solves while the check is held.
    const auto edit = [window](int n) {
        return window->findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(n));
    };
    const char* coefficients[] = {"1", "-3", "2"};
    for (int i = 1; i <= 3; ++i) {
        QTest::mouseClick(edit(i), Qt::LeftButton);
        QTest::keyClicks(edit(i), QLatin1String(coefficients[i - 1]));
    }
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);

    QCOMPARE(edit(3)->text(), QStringLiteral("2"));
    QCOMPARE(edit(5)->text(), QStringLiteral("2"));
    QVERIFY(!window->findChild<QTextEdit*>(QStringLiteral("Memo1"))->toPlainText().isEmpty());
    QVERIFY(updates->checkRunning()); // still held by the server all along
    QVERIFY(boxes.boxes.isEmpty());

    // Closing ends the check: stopped and ended, not let go.
    QVERIFY(updates->stopWorkers());
    QVERIFY(!updates->checkRunning());
    velmora::destroyWindows();
    QVERIFY(boxes.boxes.isEmpty());
}

QTEST_MAIN(TstUpdateResponsive)
#include "tst_updateresponsive.moc"
