// The hand-over from worker threads to the user-interface thread: refused before the
// application exists and for the rest of the process after the shut-down, failures passed back
// to the worker, other work (a second worker's hand-over) running inside a body's nested loop,
// and a worker let go by its owner, which is released and never runs anything afterwards.
#include "platform/base/uithread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <future>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace uithread = velmora::uithread;

namespace {

// What happened, in order, from any thread.
class Log {
public:
    void add(const QString& entry) {
        const std::lock_guard lock(m_mutex);
        m_entries << entry;
    }
    QStringList entries() const {
        const std::lock_guard lock(m_mutex);
        return m_entries;
    }

private:
    mutable std::mutex m_mutex;
    QStringList m_entries;
};

QString result(bool handedOver) {
    return handedOver ? QStringLiteral("handed over") : QStringLiteral("refused");
}

// Runs a worker thread while the user-interface thread keeps its loop going, until it ends.
void runWorker(const std::function<void()>& work) {
    std::thread worker(work);
    // The worker's last act posts a quit, so the loop ends only after everything it handed over.
    QEventLoop loop;
    std::thread waiter([&worker, &loop] {
        worker.join();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    waiter.join();
}

void beforeTheApplication(Log& log) {
    std::thread worker([&log] {
        log.add(QStringLiteral("worker: ") +
                result(uithread::call([&log] { log.add(QStringLiteral("body ran")); })));
    });
    worker.join();
    log.add(QStringLiteral("own thread: ") +
            result(uithread::call([&log] { log.add(QStringLiteral("body ran")); })));
}

void afterTheShutDown(Log& log) {
    // A worker waits for a hand-over that the user-interface thread has not taken yet.
    std::promise<void> asked;
    std::thread waiting([&log, &asked] {
        asked.set_value();
        log.add(QStringLiteral("waiting worker: ") +
                result(uithread::call([&log] { log.add(QStringLiteral("first body ran")); })));
    });
    asked.get_future().wait();
    uithread::shutDown();
    waiting.join();
    // What was queued before the shut-down does not run later either.
    QCoreApplication::sendPostedEvents();
    std::thread later([&log] {
        log.add(QStringLiteral("later worker: ") +
                result(uithread::call([&log] { log.add(QStringLiteral("later body ran")); })));
    });
    later.join();
    log.add(QStringLiteral("own thread: ") +
            result(uithread::call([&log] { log.add(QStringLiteral("own body ran")); })));
}

// Runs one of the scenarios that need a process of their own, in a child, and returns its log.
QStringList inChild(const QString& scenario) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), scenario});
    if (!child.waitForFinished(60000))
        return {QStringLiteral("the child did not end")};
    const QString output = QString::fromUtf8(child.readAllStandardOutput()).trimmed();
    if (child.exitCode() != 0)
        return {QStringLiteral("the child failed: ") +
                QString::fromUtf8(child.readAllStandardError())};
    return output.split(QLatin1Char('\n'));
}

int childMain(int argc, char* argv[], const QString& scenario) {
    Log log;
    if (scenario == QLatin1String("before the application")) {
        beforeTheApplication(log);
    } else {
        QCoreApplication application(argc, argv);
        afterTheShutDown(log);
    }
    const QByteArray text = log.entries().join(QLatin1Char('\n')).toUtf8() + '\n';
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
    return 0;
}

} // namespace

class TstUiThread : public QObject {
    Q_OBJECT

private slots:
    void handOvers_data();
    void handOvers();
};

void TstUiThread::handOvers_data() {
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("refused before the application exists")
        << "before the application" << QStringList{"worker: refused", "own thread: refused"};
    QTest::newRow("refused for good after the shut-down, a waiting worker released")
        << "after the shut-down"
        << QStringList{"waiting worker: refused", "later worker: refused", "own thread: refused"};
    QTest::newRow("a worker's body runs on the user-interface thread")
        << "one body" << QStringList{"body on the user-interface thread", "worker: handed over"};
    QTest::newRow("on the user-interface thread a body runs at once")
        << "own thread" << QStringList{"body", "own thread: handed over"};
    QTest::newRow("a failure is passed back to the worker")
        << "failure" << QStringList{"worker caught: the body failed"};
    QTest::newRow("a second worker's body runs inside the first body's nested loop")
        << "nested loop"
        << QStringList{"first body: before its loop", "second body", "second worker: handed over",
                       "first body: after its loop", "first worker: handed over"};
    QTest::newRow("a worker let go is released and never runs anything")
        << "let go" << QStringList{"worker: refused", "worker again: refused", "nothing ran"};
}

void TstUiThread::handOvers() {
    QFETCH(QString, scenario);
    QFETCH(QStringList, expected);
    QCoreApplication* application = QCoreApplication::instance();
    const auto onUiThread = [application] {
        return QThread::currentThread() == application->thread();
    };

    Log log;
    if (scenario == QLatin1String("before the application") ||
        scenario == QLatin1String("after the shut-down")) {
        QCOMPARE(inChild(scenario), expected);
        return;
    }
    if (scenario == QLatin1String("one body")) {
        runWorker([&] {
            const bool handed = uithread::call([&] {
                if (onUiThread())
                    log.add(QStringLiteral("body on the user-interface thread"));
            });
            log.add(QStringLiteral("worker: ") + result(handed));
        });
    } else if (scenario == QLatin1String("own thread")) {
        log.add(QStringLiteral("own thread: ") +
                result(uithread::call([&] { log.add(QStringLiteral("body")); })));
        // The body ran before the call returned, so it comes first.
        expected = QStringList{"body", "own thread: handed over"};
    } else if (scenario == QLatin1String("failure")) {
        runWorker([&] {
            try {
                uithread::call([] { throw std::runtime_error("the body failed"); });
                log.add(QStringLiteral("nothing was thrown"));
            } catch (const std::runtime_error& failure) {
                log.add(QStringLiteral("worker caught: ") + QString::fromUtf8(failure.what()));
            }
        });
    } else if (scenario == QLatin1String("nested loop")) {
        // The first body opens a loop, as a modal window does, that ends only once the second
        // worker's body has run inside it.
        std::promise<void> firstInLoop;
        auto inLoop = firstInLoop.get_future().share();
        std::thread second;
        runWorker([&] {
            const bool handed = uithread::call([&] {
                log.add(QStringLiteral("first body: before its loop"));
                QEventLoop nested;
                second = std::thread([&] {
                    inLoop.wait();
                    const bool handedSecond = uithread::call([&] {
                        log.add(QStringLiteral("second body"));
                        nested.quit();
                    });
                    log.add(QStringLiteral("second worker: ") + result(handedSecond));
                });
                QTimer::singleShot(0, &nested, [&firstInLoop] { firstInLoop.set_value(); });
                nested.exec();
                second.join();
                log.add(QStringLiteral("first body: after its loop"));
            });
            log.add(QStringLiteral("first worker: ") + result(handed));
        });
    } else if (scenario == QLatin1String("let go")) {
        // The user-interface thread takes no work until the worker's owner has let it go.
        auto permit = std::make_shared<uithread::Permit>();
        std::promise<void> asking;
        std::thread worker([&] {
            const uithread::PermitScope scope(permit);
            asking.set_value();
            log.add(QStringLiteral("worker: ") +
                    result(uithread::call([&] { log.add(QStringLiteral("first body ran")); })));
            log.add(QStringLiteral("worker again: ") +
                    result(uithread::call([&] { log.add(QStringLiteral("second body ran")); })));
        });
        asking.get_future().wait();
        permit->revoke();
        worker.join();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        log.add(QStringLiteral("nothing ran"));
    }
    QCOMPARE(log.entries(), expected);
}

int main(int argc, char* argv[]) {
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return childMain(argc, argv, QString::fromUtf8(argv[2]));
    QCoreApplication application(argc, argv);
    TstUiThread test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_uithread.moc"
