// The launcher progress indicator: its properties and setter rules as a table, with the signals
// it sends received on a private session bus (ctest runs this program under dbus-run-session),
// the deferred initialisation, and, without a bus, properties that work while nothing is sent.
#include "platform/desktop/launcherentry.h"
#include "update/taskbar.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QTest>

#include <functional>
#include <memory>

using velmora::TaskbarProgressIndicator;
using velmora::TaskbarProgressState;

using Operation = std::function<void(TaskbarProgressIndicator&)>;
using Operations = QList<Operation>;
Q_DECLARE_METATYPE(Operations)

namespace {

const QString kEntry = QStringLiteral("application://velmora.desktop");
const QString kMarker = QStringLiteral("application://marker.desktop");

// Receives every launcher signal on a connection of its own, as a dock would.
class Dock : public QObject {
    Q_OBJECT
public:
    Dock() : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "dock")) {
        m_bus.connect(QString(), QString(), QLatin1String(velmora::launcherentry::Interface),
                      QLatin1String(velmora::launcherentry::Member), this,
                      SLOT(received(QDBusMessage)));
    }
    ~Dock() override { QDBusConnection::disconnectFromBus(QStringLiteral("dock")); }

    // The signals sent so far, waiting for a marker sent after them (one sender keeps its order).
    QStringList drain() {
        QDBusMessage marker =
            QDBusMessage::createSignal(QStringLiteral("/com/canonical/unity/launcherentry/0"),
                                       QLatin1String(velmora::launcherentry::Interface),
                                       QLatin1String(velmora::launcherentry::Member));
        marker << kMarker << QVariantMap();
        QDBusConnection::sessionBus().send(marker);
        if (!QTest::qWaitFor([this] { return m_sawMarker; }, 5000))
            return {QStringLiteral("<no marker>")};
        m_sawMarker = false;
        return std::exchange(m_signals, {});
    }

private slots:
    void received(const QDBusMessage& message) {
        const QList<QVariant> arguments = message.arguments();
        const QString entry = arguments.value(0).toString();
        if (entry == kMarker) {
            m_sawMarker = true;
            return;
        }
        const auto properties = qdbus_cast<QVariantMap>(arguments.value(1));
        QString text = entry == kEntry ? QString() : entry + QLatin1Char(' ');
        text += properties.value(QStringLiteral("progress-visible")).toBool()
                    ? QStringLiteral("visible")
                    : QStringLiteral("hidden");
        if (properties.contains(QStringLiteral("progress")))
            text +=
                QStringLiteral(" %1").arg(properties.value(QStringLiteral("progress")).toDouble());
        if (message.path().startsWith(QLatin1String("/com/canonical/unity/launcherentry/")))
            m_signals << text;
        else
            m_signals << QStringLiteral("wrong path ") + message.path();
    }

private:
    QDBusConnection m_bus;
    QStringList m_signals;
    bool m_sawMarker = false;
};

} // namespace

class TstTaskbar : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void properties_data();
    void properties();
    void destructionClearsTheProgress();
    void initialisesThroughTheEventLoop();
    void noSessionBus();

private:
    bool m_busExpected = false;
};

void TstTaskbar::initTestCase() {
    QGuiApplication::setDesktopFileName(QStringLiteral("velmora"));
    m_busExpected = QDBusConnection::sessionBus().isConnected();
}

void TstTaskbar::properties_data() {
    QTest::addColumn<Operations>("operations");
    QTest::addColumn<QList<int>>("values"); // Min, Max, Position, Step
    QTest::addColumn<QStringList>("sent");

    using I = TaskbarProgressIndicator;
    const auto show = [](I& i) { i.setShowInTaskbar(true); };
    QTest::newRow("defaults send nothing")
        << Operations{} << QList<int>{0, 100, 0, 10} << QStringList();
    QTest::newRow("Position while not shown only clears")
        << Operations{[](I& i) { i.setPosition(50); }} << QList<int>{0, 100, 50, 10}
        << QStringList{"hidden"};
    QTest::newRow("shown, then 50 of 100")
        << Operations{show, [](I& i) { i.setPosition(50); }} << QList<int>{0, 100, 50, 10}
        << QStringList{"visible 0", "visible 0.5"};
    QTest::newRow("Max -5 with Min 0 makes both -5")
        << Operations{[](I& i) { i.setMax(-5); }} << QList<int>{-5, -5, 0, 10}
        << QStringList{"hidden"};
    QTest::newRow("Min 200 with Max 100 makes both 200")
        << Operations{[](I& i) { i.setMin(200); }} << QList<int>{200, 200, 0, 10}
        << QStringList{"hidden"};
    QTest::newRow("Min and Max shift the fraction")
        << Operations{show, [](I& i) { i.setMin(-100); }, [](I& i) { i.setPosition(50); }}
        << QList<int>{-100, 100, 50, 10} << QStringList{"visible 0", "visible 0.5", "visible 0.75"};
    QTest::newRow("Step is only stored") << Operations{show, [](I& i) { i.setStep(25); }}
                                         << QList<int>{0, 100, 0, 25} << QStringList{"visible 0"};
    QTest::newRow("StepIt with the default Step: 0 to 10")
        << Operations{show, [](I& i) { i.StepIt(); }} << QList<int>{0, 100, 10, 10}
        << QStringList{"visible 0", "visible 0.1"};
    QTest::newRow("StepBy does not clamp")
        << Operations{show, [](I& i) { i.StepBy(250); }, [](I& i) { i.StepBy(-400); }}
        << QList<int>{0, 100, -150, 10} << QStringList{"visible 0", "visible 1", "visible 0"};
    QTest::newRow("StepIt refreshes even by 0")
        << Operations{show, [](I& i) { i.setStep(0); }, [](I& i) { i.StepIt(); }}
        << QList<int>{0, 100, 0, 0} << QStringList{"visible 0", "visible 0"};
    QTest::newRow("marquee without MarqueeEnabled shows nothing")
        << Operations{show, [](I& i) { i.setProgressBarState(TaskbarProgressState::pbstMarquee); }}
        << QList<int>{0, 100, 0, 10} << QStringList{"visible 0", "hidden"};
    QTest::newRow("marquee enabled shows the bar without a value")
        << Operations{show, [](I& i) { i.setProgressBarState(TaskbarProgressState::pbstMarquee); },
                      [](I& i) { i.setMarqueeEnabled(true); }}
        << QList<int>{0, 100, 0, 10} << QStringList{"visible 0", "hidden", "visible"};
    QTest::newRow("error and paused show their value")
        << Operations{show, [](I& i) { i.setPosition(30); },
                      [](I& i) { i.setProgressBarState(TaskbarProgressState::pbstError); },
                      [](I& i) { i.setProgressBarState(TaskbarProgressState::pbstPaused); }}
        << QList<int>{0, 100, 30, 10}
        << QStringList{"visible 0", "visible 0.3", "visible 0.3", "visible 0.3"};
    QTest::newRow("a value it already has does nothing")
        << Operations{[](I& i) { i.setPosition(0); }, [](I& i) { i.setMin(0); },
                      [](I& i) { i.setMax(100); }, [](I& i) { i.setShowInTaskbar(false); },
                      [](I& i) { i.setProgressBarState(TaskbarProgressState::pbstNormal); }}
        << QList<int>{0, 100, 0, 10} << QStringList();
    QTest::newRow("Smooth and SmoothReverse refresh, unused")
        << Operations{[](I& i) { i.setSmooth(true); }, [](I& i) { i.setSmoothReverse(true); }}
        << QList<int>{0, 100, 0, 10} << QStringList{"hidden", "hidden"};
    QTest::newRow("Max equal to Min shows an empty bar")
        << Operations{show, [](I& i) { i.setMax(0); }, [](I& i) { i.setPosition(5); }}
        << QList<int>{0, 0, 5, 10} << QStringList{"visible 0", "visible 0", "visible 0"};
    QTest::newRow("another entry")
        << Operations{[](I& i) {
                          i.setTaskBarEntryHandle(QStringLiteral("application://x.desktop"));
                      },
                      show}
        << QList<int>{0, 100, 0, 10} << QStringList{"application://x.desktop visible 0"};
}

void TstTaskbar::properties() {
    if (!m_busExpected)
        QSKIP("needs a session bus: run under dbus-run-session, as ctest does");
    QFETCH(Operations, operations);
    QFETCH(QList<int>, values);
    QFETCH(QStringList, sent);
    Dock dock;
    auto indicator = std::make_unique<TaskbarProgressIndicator>();
    dock.drain();
    for (const Operation& operation : operations)
        operation(*indicator);
    QCOMPARE(
        (QList<int>{indicator->Min(), indicator->Max(), indicator->Position(), indicator->Step()}),
        values);
    QCOMPARE(dock.drain(), sent);
    // Going away while shown clears the launcher; otherwise it sends nothing.
    const bool shown = indicator->ShowInTaskbar();
    const QString entry = indicator->TaskBarEntryHandle();
    indicator.reset();
    const QString cleared = (entry == kEntry ? QString() : entry + QLatin1Char(' ')) + "hidden";
    QCOMPARE(dock.drain(), shown ? QStringList{cleared} : QStringList());
}

void TstTaskbar::destructionClearsTheProgress() {
    if (!m_busExpected)
        QSKIP("needs a session bus: run under dbus-run-session, as ctest does");
    Dock dock;
    {
        TaskbarProgressIndicator indicator;
        indicator.setShowInTaskbar(true);
        indicator.setPosition(40);
    }
    QCOMPARE(dock.drain(), (QStringList{"visible 0", "visible 0.4", "hidden"}));
}

namespace {

// Counts what the component's private events make it do.
class CountingComponent : public velmora::TaskbarComponent {
public:
    explicit CountingComponent(bool autoInitialize) { FAutoInitialize = autoInitialize; }
    int initialisations = 0;
    int updates = 0;

protected:
    bool DoInitialize() override {
        ++initialisations;
        return true;
    }
    void UpdateEntry() override { ++updates; }
};

} // namespace

void TstTaskbar::initialisesThroughTheEventLoop() {
    CountingComponent component(true);
    QVERIFY(!component.IsInitialized());
    QEvent early(velmora::TaskbarComponent::updateEvent());
    QCoreApplication::sendEvent(&component, &early);
    QCOMPARE(component.updates, 0); // not initialised yet: ignored
    QCoreApplication::sendPostedEvents(&component);
    QVERIFY(component.IsInitialized());
    QCOMPARE(component.initialisations, 1);
    QEvent update(velmora::TaskbarComponent::updateEvent());
    QCoreApplication::sendEvent(&component, &update);
    QCOMPARE(component.updates, 1);

    CountingComponent manual(false);
    QCoreApplication::sendPostedEvents(&manual);
    QVERIFY(!manual.IsInitialized());
    QCOMPARE(manual.initialisations, 0);

    QGuiApplication::setDesktopFileName(QString());
    QCOMPARE(manual.TaskBarEntryHandle(), QString());
    QGuiApplication::setDesktopFileName(QStringLiteral("velmora"));
    QCOMPARE(manual.TaskBarEntryHandle(), kEntry);
}

void TstTaskbar::noSessionBus() {
    if (m_busExpected)
        QSKIP("runs where there is no session bus (the tst_taskbar_nobus entry of ctest)");
    QVERIFY(!velmora::launcherentry::available());
    QVERIFY(!velmora::launcherentry::send(kEntry, true, 0.5));
    TaskbarProgressIndicator indicator;
    indicator.setShowInTaskbar(true);
    indicator.setMax(-5);
    indicator.StepIt();
    QCOMPARE((QList<int>{indicator.Min(), indicator.Max(), indicator.Position()}),
             (QList<int>{-5, -5, 10}));
}

QTEST_MAIN(TstTaskbar)
#include "tst_taskbar.moc"
