// The update controller's sequence with scripted workers in place of the real check and
// download, driving the real update dialog: check → boxes or dialog → download → start (the
// program ends) or a failure the dialog names (the program goes on). The workers run on their
// threads as the real ones do; the test waits for their signals, never for a time.
#include "platform/ui/messagebox.h"
#include "state/global.h"
#include "tests/support/testsupport.h"
#include "tests/update/updateloop.h"
#include "tests/update/updatetexts.h"
#include "update/taskbar.h"
#include "update/updatecontroller.h"
#include "update/updatedialog.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <optional>
#include <stdexcept>

using velmora::AnswerNo;
using velmora::AnswerYes;
using velmora::CheckOutcome;
using velmora::UpdateFailure;
using velmora::UpdateMode;

namespace Global = velmora::Global;

namespace {

const QString kSource = QStringLiteral("https://updates.example.org/program/velmora/update.ums");

// A manifest offering the version, with an installer the plan takes.
velmora::ProfileFile manifestOffering(int version, bool withDigest = true) {
    QByteArray text = "[Info setup]\nVersion 1=" + QByteArray::number(version) +
                      "\nVersion 2=9.9\nSize 1=1000\nURL=https://updates.example.org/v.deb\n";
    if (withDigest)
        text += "SHA-256=" + QByteArray(64, 'a') + "\n";
    return velmora::ProfileFile::parse(text);
}

// Tells the scripted outcome, or nothing (a check that failed in a way that is no outcome).
class ScriptedCheck : public velmora::CheckWorker {
public:
    explicit ScriptedCheck(std::optional<CheckOutcome> outcome) : m_outcome(std::move(outcome)) {}

protected:
    void Execute() override {
        if (m_outcome)
            emit finished(*m_outcome);
    }

private:
    std::optional<CheckOutcome> m_outcome;
};

// How a scripted download ends.
enum class Ending { Fails, Starts, Silently };

struct DownloadScript {
    QList<qint64> progress{};
    Ending ending = Ending::Fails;
    UpdateFailure failure = UpdateFailure::DownloadFailed;
    QString detail{};
    // Released by the test before the download ends, when set: a transfer that takes its time.
    QSemaphore* held = nullptr;
};

class ScriptedDownload : public velmora::DownloadWorker {
public:
    explicit ScriptedDownload(DownloadScript script) : m_script(std::move(script)) {}

protected:
    void Execute() override {
        for (const qint64 bytes : m_script.progress)
            emit progress(bytes);
        if (m_script.held)
            m_script.held->acquire();
        switch (m_script.ending) {
        case Ending::Fails:
            emit failed(m_script.failure, m_script.detail);
            break;
        case Ending::Starts:
            emit installerStarted();
            break;
        case Ending::Silently:
            throw std::runtime_error("a worker that fails outside its own rules");
        }
    }

private:
    DownloadScript m_script;
};

// Runs the program's event loop until it is asked to end (0), or gives up after the time (-1).
int runEventLoop(int milliseconds) {
    QTimer fallback;
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, &fallback, [] { QCoreApplication::exit(-1); });
    fallback.start(milliseconds);
    return QCoreApplication::exec();
}

// Runs what is queued already: 0 when that asks the program to end, else -1.
int runQueuedEvents() {
    QMetaObject::invokeMethod(
        qApp, [] { QCoreApplication::exit(-1); }, Qt::QueuedConnection);
    return QCoreApplication::exec();
}

struct Row {
    UpdateMode mode = UpdateMode::Custom;
    std::optional<CheckOutcome> outcome;
    int reply = AnswerYes; // to the question of the mode "auto"
    DownloadScript download{};
    // What must come of it.
    QStringList boxes{};
    bool dialog = false;     // the update dialog shows
    bool downloaded = false; // a download worker was made (and started)
    bool ended = false;      // the program was asked to end
    QString status{};        // the dialog's status line after the download
};

} // namespace

Q_DECLARE_METATYPE(Row)

class TstUpdateController : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void sequence_data();
    void sequence();
    void progressArrivesBySignal();
    void aCheckAskedForWhileOneRunsIsAnsweredByIt();
    void theDialogMayGoFirst();

private:
    // The check offers a newer version; the dialog's download tells 0, then `bytes`, and waits
    // for `held` before it fails. True once the dialog shows and its download runs.
    bool offerAndDownload(QSemaphore& held, qint64 bytes);
    template <typename T> T* child(const char* name) const {
        return m_dialog->findChild<T*>(QLatin1String(name));
    }

    QTemporaryDir m_common;
    std::unique_ptr<velmora::TForm4> m_dialog;
    std::unique_ptr<velmora::UpdateController> m_controller;
    QStringList m_boxes;
    int m_reply = AnswerYes;
    int m_downloads = 0;
};

void TstUpdateController::initTestCase() {
    Global::setCommonAppData(m_common.path());
    // Any server: the scripted workers never go on the network.
    qputenv("VELMORA_UPDATE_SERVER", "https://updates.example.org");
    velmora::test::useNamedTexts();
    velmora::setMessageBoxHandler([this](const QString& text, const QString& caption, unsigned) {
        m_boxes << text + QStringLiteral(" | ") + caption;
        return m_reply;
    });
}

void TstUpdateController::init() {
    velmora::test::recordTopLevelWidgets();
    m_boxes.clear();
    m_downloads = 0;
    m_dialog = std::make_unique<velmora::TForm4>();
    m_controller = std::make_unique<velmora::UpdateController>(m_dialog.get());
}

void TstUpdateController::cleanup() {
    QVERIFY(m_controller->stopWorkers());
    // What the stopped workers still posted is taken, and ignored, before the controller goes.
    QCoreApplication::processEvents();
    m_controller.reset();
    m_dialog.reset();
    velmora::test::verifyNoWindowLeftOpen();
}

void TstUpdateController::sequence_data() {
    QTest::addColumn<Row>("row");
    const QString failed = QStringLiteral("message 11 | message 3");
    const QString latest = QStringLiteral("message 12 | message 1");
    const QString question = QStringLiteral("message 13 | message 1");
    const CheckOutcome none{std::nullopt, kSource, true};
    const CheckOutcome current{manifestOffering(32), kSource, false};
    const CheckOutcome newer{manifestOffering(33), kSource, false};

    QTest::newRow("custom: no manifest, the failure's box")
        << Row{.outcome = none, .boxes = {failed}};
    QTest::newRow("auto: no manifest, silent") << Row{.mode = UpdateMode::Auto, .outcome = none};
    QTest::newRow("custom: a check that ends without an outcome, silent") << Row{};
    QTest::newRow("custom: the same version, the latest's box")
        << Row{.outcome = current, .boxes = {latest}};
    QTest::newRow("auto: the same version, silent")
        << Row{.mode = UpdateMode::Auto, .outcome = current};
    QTest::newRow("auto: newer, the user says no")
        << Row{.mode = UpdateMode::Auto, .outcome = newer, .reply = AnswerNo, .boxes = {question}};
    QTest::newRow("auto: newer, the user says yes, the installer starts: the program ends")
        << Row{.mode = UpdateMode::Auto,
               .outcome = newer,
               .download = {.ending = Ending::Starts},
               .boxes = {question},
               .dialog = true,
               .downloaded = true,
               .ended = true};
    QTest::newRow("custom: newer, the installer starts: the program ends")
        << Row{.outcome = newer,
               .download = {.progress = {0, 1000}, .ending = Ending::Starts},
               .dialog = true,
               .downloaded = true,
               .ended = true};
    QTest::newRow("custom: the download fails")
        << Row{.outcome = newer,
               .download = {.failure = UpdateFailure::DownloadFailed},
               .dialog = true,
               .downloaded = true,
               .status = QStringLiteral("more 4")};
    QTest::newRow("custom: not verified")
        << Row{.outcome = newer,
               .download = {.progress = {0, 1000}, .failure = UpdateFailure::NotVerified},
               .dialog = true,
               .downloaded = true,
               .status = QStringLiteral("more 5")};
    QTest::newRow("custom: verified, but it would not start: it stays, named, the program goes on")
        << Row{.outcome = newer,
               .download = {.failure = UpdateFailure::StartFailed,
                            .detail = QStringLiteral("/kept/setup.deb")},
               .dialog = true,
               .downloaded = true,
               .status = QStringLiteral("more 6: /kept/setup.deb")};
    QTest::newRow("custom: a download that ends without telling why is told as failed")
        << Row{.outcome = newer,
               .download = {.ending = Ending::Silently},
               .dialog = true,
               .downloaded = true,
               .status = QStringLiteral("more 4")};
    QTest::newRow("custom: no digest: refused before any download")
        << Row{.outcome = CheckOutcome{manifestOffering(33, false), kSource, false},
               .dialog = true,
               .status = velmora::test::namedMoreText(velmora::MoreText::ManifestRefused)};
    QTest::newRow("custom: a signed manifest past its expiry when the download is asked for")
        << Row{.outcome = CheckOutcome{manifestOffering(33), kSource, true},
               .dialog = true,
               .status = velmora::test::namedMoreText(velmora::MoreText::ManifestRefused)};
}

void TstUpdateController::sequence() {
    QFETCH(Row, row);
    m_reply = row.reply;
    Global::setUpdateMode(row.mode);
    m_controller->setWorkerFactories(
        [&row] { return std::make_unique<ScriptedCheck>(row.outcome); },
        [this, &row](const velmora::InstallerPlan&) {
            ++m_downloads;
            return std::make_unique<ScriptedDownload>(row.download);
        });

    QVERIFY(m_controller->startCheck());
    QTRY_VERIFY(!m_controller->checkRunning());
    QCOMPARE(m_boxes, row.boxes);
    QCOMPARE(m_dialog->isVisible(), row.dialog);
    // Whatever was told, later requests are the user's own.
    QCOMPARE(Global::updateMode(), UpdateMode::Custom);
    if (!row.dialog) {
        QCOMPARE(runQueuedEvents(), -1);
        return;
    }
    QCOMPARE(child<QLabel>("Label3")->text(), QStringLiteral("update 4 9.9"));

    QTest::mouseClick(child<QPushButton>("Button2"), Qt::LeftButton);
    QCOMPARE(m_downloads, row.downloaded ? 1 : 0);
    if (row.ended) {
        // The program is asked to end after the start, and only then.
        QCOMPARE(runEventLoop(30000), 0);
        return;
    }
    // Everything the download told has been taken, and the program goes on.
    QCOMPARE(velmora::test::runUntilDownloadEnds(*m_controller, 30000), -1);
    QCOMPARE(child<QLabel>("Label5")->text(), row.status);
    QVERIFY(child<QPushButton>("Button2")->isEnabled());
    QVERIFY(!child<QTimer>("Timer1")->isActive());
}

bool TstUpdateController::offerAndDownload(QSemaphore& held, qint64 bytes) {
    m_controller->setWorkerFactories(
        [] {
            return std::make_unique<ScriptedCheck>(
                CheckOutcome{manifestOffering(33), kSource, false});
        },
        [&held, bytes](const velmora::InstallerPlan&) {
            return std::make_unique<ScriptedDownload>(
                DownloadScript{.progress = {0, bytes}, .held = &held});
        });
    Global::setUpdateMode(UpdateMode::Custom);
    if (!m_controller->startCheck() || !QTest::qWaitFor([this] { return m_dialog->isVisible(); }))
        return false;
    m_dialog->Button2Click();
    return m_controller->downloadRunning();
}

// The dialog shows the count the download last told, at its own ticks.
void TstUpdateController::progressArrivesBySignal() {
    QSemaphore held;
    // A test that fails half-way still lets the download end (one release more is harmless).
    const auto release = qScopeGuard([&held] { held.release(); });
    QVERIFY(offerAndDownload(held, 512 * 1024));
    QVERIFY(!child<QPushButton>("Button2")->isEnabled());
    // Size 1=1000 bytes: the bar is full, the label counts what came.
    QTRY_COMPARE(child<QLabel>("Label5")->text(), QStringLiteral("update 7 512 update 8"));
    QVERIFY(m_dialog->taskbarIndicator()->ShowInTaskbar());
    QVERIFY(m_controller->downloadRunning());

    // Then it fails: the count goes, the failure takes its place.
    held.release();
    QCOMPARE(velmora::test::runUntilDownloadEnds(*m_controller, 30000), -1);
    QCOMPARE(child<QLabel>("Label5")->text(), QStringLiteral("more 4"));
    QVERIFY(!m_dialog->taskbarIndicator()->ShowInTaskbar());
}

// The menu's request comes while the start-up check has not told its outcome yet: that check
// answers it in the mode the request set, and no second check is made.
void TstUpdateController::aCheckAskedForWhileOneRunsIsAnsweredByIt() {
    QSemaphore held;
    int checks = 0;
    class HeldCheck : public velmora::CheckWorker {
    public:
        explicit HeldCheck(QSemaphore* held) : m_held(held) {}

    protected:
        void Execute() override {
            m_held->acquire();
            emit finished(CheckOutcome{manifestOffering(32), kSource, false});
        }

    private:
        QSemaphore* m_held;
    };
    m_controller->setWorkerFactories(
        [&] {
            ++checks;
            return std::make_unique<HeldCheck>(&held);
        },
        {});
    Global::setUpdateMode(UpdateMode::Auto);
    QVERIFY(m_controller->startCheck());
    Global::setUpdateMode(UpdateMode::Custom);
    QVERIFY(m_controller->startCheck());
    held.release();
    QTRY_VERIFY(!m_controller->checkRunning());
    QCOMPARE(checks, 1);
    QCOMPARE(m_boxes, QStringList{QStringLiteral("message 12 | message 1")});
}

// The window that owns both may delete the dialog before the controller: a download that then
// tells its end, and the stop, touch no dialog.
void TstUpdateController::theDialogMayGoFirst() {
    QSemaphore held;
    const auto release = qScopeGuard([&held] { held.release(); });
    QVERIFY(offerAndDownload(held, 100));
    QVERIFY(m_controller->downloadRunning());
    m_dialog.reset();
    QCOMPARE(m_controller->dialog(), nullptr);
    held.release();
    QCOMPARE(velmora::test::runUntilDownloadEnds(*m_controller, 30000), -1);
    QVERIFY(m_controller->stopWorkers());
}

QTEST_MAIN(TstUpdateController)
#include "tst_updatecontroller.moc"
