// The main window answers while the update check waits on a stalled server: typing and solving
// work and the event loop never stalls; closing then ends the check without waiting for its
// time-out.
#include "app/entry.h"
#include "app/mainwindow.h"
#include "platform/download.h"
#include "tests/support/httpserver.h"
#include "tests/support/testsupport.h"
#include "update/manifest.h"
#include "update/updateservice.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

using velmora::test::HttpAnswer;
using velmora::test::HttpTestServer;

class TstUpdateResponsive : public QObject {
    Q_OBJECT

private slots:
    void windowAnswersWhileTheServerStalls();
};

void TstUpdateResponsive::windowAnswersWhileTheServerStalls() {
    HttpTestServer server;
    const QString manifest = QString::fromLatin1(velmora::manifest::ServerPath);
    server.answer(manifest, HttpAnswer::of(HttpAnswer::Kind::Stall, QByteArray(4000, 'x')));
    qputenv("VELMORA_UPDATE_SERVER", server.base().toLatin1());
    velmora::test::TemporaryStore store;
    store.seed(R"({"HKEY_LOCAL_MACHINE":{"SOFTWARE\\Velmora\\3.2":{"Language":"English",
                  "Auto update":"false","Detailed solution":"true"}}})");
    qputenv("VELMORA_DATA_DIR", VELMORA_SOURCE_DIR);
    velmora::test::MessageBoxRecorder boxes;

    velmora::createWindows();
    velmora::TForm1* window = velmora::Form1;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    window->findChild<QAction*>(QStringLiteral("N9"))->trigger();
    QVERIFY(velmora::updateCheckRunning());
    QTRY_COMPARE(server.requests(manifest), 1);

    // The longest gap between ticks of a 10 ms timer while the user types and solves.
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longestGap = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, clock.elapsed() - last);
        last = clock.elapsed();
    });
    ticker.start(10);
    const auto edit = [window](int n) {
        return window->findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(n));
    };
    const char* coefficients[] = {"1", "-3", "2"};
    for (int i = 1; i <= 3; ++i) {
        QTest::mouseClick(edit(i), Qt::LeftButton);
        QTest::keyClicks(edit(i), QLatin1String(coefficients[i - 1]));
        QTest::qWait(50);
    }
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    QTest::qWait(300);
    ticker.stop();

    QCOMPARE(edit(3)->text(), QStringLiteral("2"));
    QVERIFY(!window->findChild<QTextEdit*>(QStringLiteral("Memo1"))->toPlainText().isEmpty());
    QVERIFY2(longestGap < 150,
             qPrintable(QStringLiteral("event loop stalled %1 ms").arg(longestGap)));
    QVERIFY(velmora::updateCheckRunning()); // still held by the server all along
    QVERIFY(boxes.boxes.isEmpty());

    clock.restart();
    velmora::destroyWindows();
    QVERIFY2(clock.elapsed() < 3000, "closing must not wait for the stalled transfer");
    QVERIFY(!velmora::updateCheckRunning());
}

QTEST_MAIN(TstUpdateResponsive)
#include "tst_updateresponsive.moc"
