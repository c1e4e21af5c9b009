// Starting a downloaded file: by its extension it is executed (after getting its owner's execute
// bit) or opened in its default application; the test handler records instead of starting.
#include "platform/launch.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using velmora::LaunchMethod;

class TstLaunch : public QObject {
    Q_OBJECT

private slots:
    void methodByExtension_data();
    void methodByExtension();
};

void TstLaunch::methodByExtension_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<LaunchMethod>("method");
    QTest::newRow("AppImage runs") << "setup.AppImage" << LaunchMethod::Execute;
    QTest::newRow("appimage in any case runs") << "setup.appimage" << LaunchMethod::Execute;
    QTest::newRow("run script runs") << "setup.run" << LaunchMethod::Execute;
    QTest::newRow("Debian package opens")
        << "setup.deb" << LaunchMethod::OpenWithDefaultApplication;
    QTest::newRow("Windows installer opens")
        << "setup.exe" << LaunchMethod::OpenWithDefaultApplication;
    QTest::newRow("no extension opens") << "setup" << LaunchMethod::OpenWithDefaultApplication;
}

void TstLaunch::methodByExtension() {
    QFETCH(QString, name);
    QFETCH(LaunchMethod, method);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    }
    QList<std::pair<QString, LaunchMethod>> started;
    velmora::setLaunchHandler([&started](const QString& file, LaunchMethod how) {
        started.append({file, how});
    });
    velmora::launchFile(path);
    velmora::setLaunchHandler({});

    QCOMPARE(started.size(), 1);
    QCOMPARE(started[0].first, path);
    QCOMPARE(started[0].second, method);
    QCOMPARE(QFile(path).permissions().testFlag(QFileDevice::ExeOwner),
             method == LaunchMethod::Execute);
}

QTEST_GUILESS_MAIN(TstLaunch)
#include "tst_launch.moc"
