// Which window system the programs start on when the desktop offers both Wayland and X, and
// on which platforms a window's position can be stored.
#include "platform/desktop/windowsystem.h"

#include <QTest>

using velmora::DisplayEnvironment;

Q_DECLARE_METATYPE(DisplayEnvironment)

class TstWindowSystem : public QObject {
    Q_OBJECT

private slots:
    void preferredPlatform_data();
    void preferredPlatform();
    void appliedBeforeTheApplication();
    void windowPositionReported_data();
    void windowPositionReported();
};

void TstWindowSystem::preferredPlatform_data() {
    QTest::addColumn<DisplayEnvironment>("environment");
    QTest::addColumn<QByteArray>("platform");

    // {QT_QPA_PLATFORM, WAYLAND_DISPLAY, XDG_SESSION_TYPE, DISPLAY}
    QTest::newRow("Wayland with XWayland")
        << DisplayEnvironment{"", "wayland-0", "wayland", ":0"} << QByteArray("xcb");
    QTest::newRow("Wayland display without a session type")
        << DisplayEnvironment{"", "wayland-1", "", ":1"} << QByteArray("xcb");
    QTest::newRow("Wayland session on the default socket")
        << DisplayEnvironment{"", "", "Wayland", ":0"} << QByteArray("xcb");
    QTest::newRow("Wayland alone")
        << DisplayEnvironment{"", "wayland-0", "wayland", ""} << QByteArray();
    QTest::newRow("X alone") << DisplayEnvironment{"", "", "x11", ":0"} << QByteArray();
    QTest::newRow("the user chose Wayland")
        << DisplayEnvironment{"wayland", "wayland-0", "wayland", ":0"} << QByteArray();
    QTest::newRow("the user chose another platform")
        << DisplayEnvironment{"offscreen", "wayland-0", "wayland", ":0"} << QByteArray();
    QTest::newRow("no display at all") << DisplayEnvironment{} << QByteArray();
}

void TstWindowSystem::preferredPlatform() {
    QFETCH(DisplayEnvironment, environment);
    QFETCH(QByteArray, platform);
    QCOMPARE(velmora::preferredPlatform(environment), platform);
}

// The choice reaches the toolkit, and the programs started later, through the environment.
void TstWindowSystem::appliedBeforeTheApplication() {
    qunsetenv("QT_QPA_PLATFORM");
    qputenv("WAYLAND_DISPLAY", "wayland-0");
    qputenv("DISPLAY", ":0");
    velmora::preferPlaceableWindows();
    QCOMPARE(qgetenv("QT_QPA_PLATFORM"), QByteArray("xcb"));

    qputenv("QT_QPA_PLATFORM", "wayland");
    velmora::preferPlaceableWindows();
    QCOMPARE(qgetenv("QT_QPA_PLATFORM"), QByteArray("wayland"));
}

void TstWindowSystem::windowPositionReported_data() {
    QTest::addColumn<QString>("platform");
    QTest::addColumn<bool>("reported");
    QTest::newRow("X") << "xcb" << true;
    QTest::newRow("Wayland") << "wayland" << false;
    QTest::newRow("Wayland with EGL") << "wayland-egl" << false;
    QTest::newRow("offscreen") << "offscreen" << true;
}

void TstWindowSystem::windowPositionReported() {
    QFETCH(QString, platform);
    QFETCH(bool, reported);
    QCOMPARE(velmora::reportsWindowPosition(platform), reported);
}

QTEST_APPLESS_MAIN(TstWindowSystem)
#include "tst_windowsystem.moc"
