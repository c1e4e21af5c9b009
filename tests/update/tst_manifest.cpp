// The update service's rules without a server or a window: the manifest's keys and defaults,
// the capped feature lists, the server address, the signed manifest (every tampering refused, the
// expiry), the installer's plan (what is fetched, how it is named, and every manifest that may not
// start a download), the progress figures and the fold animation's tables tick by tick.
#include "tests/support/releasetool.h"
#include "update/foldanimation.h"
#include "update/installerplan.h"
#include "update/manifest.h"
#include "update/progressfigures.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using velmora::ProfileFile;
namespace manifest = velmora::manifest;
namespace fold = velmora::foldanimation;

class TstManifest : public QObject {
    Q_OBJECT

private slots:
    void offeredVersion_data();
    void offeredVersion();
    void installerKeys();
    void missingKeysGiveDefaults();
    void featureLines_data();
    void featureLines();
    void absurdQuantityIsCapped();
    void serverAddress_data();
    void serverAddress();
    void installerPlan_data();
    void installerPlan();
    void progressFigures_data();
    void progressFigures();
    void animationTickByTick_data();
    void animationTickByTick();
    void heightsOutsideTheTablesDoNothing();
    void signedManifests_data();
    void signedManifests();
    void releaseToolExpiry();

private:
    velmora::test::ReleaseTool m_release;
    velmora::test::ReleaseTool m_otherRelease;
};

void TstManifest::offeredVersion_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("version");
    QTest::newRow("33, newer") << QByteArray("[Info setup]\nVersion 1=33\n") << 33;
    QTest::newRow("32, the same") << QByteArray("[Info setup]\nVersion 1=32\n") << 32;
    QTest::newRow("31, older") << QByteArray("[Info setup]\nVersion 1=31\n") << 31;
    QTest::newRow("0x21 is hexadecimal 33") << QByteArray("[Info setup]\nVersion 1=0x21\n") << 33;
    QTest::newRow("$21 is hexadecimal 33") << QByteArray("[Info setup]\nVersion 1=$21\n") << 33;
    QTest::newRow("key missing counts as 32") << QByteArray("[Info setup]\nURL=x\n") << 32;
    QTest::newRow("abc counts as 32") << QByteArray("[Info setup]\nVersion 1=abc\n") << 32;
    QTest::newRow("empty file counts as 32") << QByteArray() << 32;
    QTest::newRow("an HTML error page counts as 32")
        << QByteArray("<html><head><title>502 Bad Gateway</title></head>\n<body>[x]</body>"
                      "</html>\n")
        << 32;
    QTest::newRow("names ignore case") << QByteArray("[INFO SETUP]\nversion 1=40\n") << 40;
    QTest::newRow("negative is older") << QByteArray("[Info setup]\nVersion 1=-1\n") << -1;
}

void TstManifest::offeredVersion() {
    QFETCH(QByteArray, file);
    QFETCH(int, version);
    QCOMPARE(manifest::offeredVersion(ProfileFile::parse(file)), version);
}

void TstManifest::installerKeys() {
    const ProfileFile file = ProfileFile::parse("[Info setup]\r\nVersion 1=40\r\nVersion 2=4.0\r\n"
                                                "Size 1=1700000\r\nSize 2=1.63\r\n"
                                                "URL=https://example.org/get/velmora-4.0.deb\r\n"
                                                "SHA-256= ABCdef \r\n"
                                                "Signature= c2lnbmF0dXJl \r\n");
    QCOMPARE(manifest::offeredVersionText(file), QStringLiteral("4.0"));
    QCOMPARE(manifest::installerSize(file), 1700000);
    QCOMPARE(manifest::installerSizeText(file), QStringLiteral("1.63"));
    QCOMPARE(manifest::installerUrl(file),
             QStringLiteral("https://example.org/get/velmora-4.0.deb"));
    QCOMPARE(manifest::installerSha256(file), QStringLiteral("ABCdef"));
}

void TstManifest::missingKeysGiveDefaults() {
    const ProfileFile file = ProfileFile::parse("[Info setup]\nSize 1=big\n");
    QCOMPARE(manifest::offeredVersionText(file), QString());
    QCOMPARE(manifest::installerSize(file), 0);
    QCOMPARE(manifest::installerSizeText(file), QString());
    QCOMPARE(manifest::installerUrl(file), QString());
    QCOMPARE(manifest::installerSha256(file), QString());
}

void TstManifest::featureLines_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("lines");

    const QByteArray three = "[Info new version ru]\nQuantity of lines=3\nLine 1=один\nLine 3=три\n"
                             "[Info new version en]\nQuantity of lines=2\nLine 1=one\nLine 2=two\n"
                             "[Info new version uk]\nQuantity of lines=1\nLine 1=один-uk\n";
    QTest::newRow("Russian: a missing middle key gives an empty line")
        << three << "Russian" << QStringList{"один", "", "три"};
    QTest::newRow("English reads only its section")
        << three << "English" << QStringList{"one", "two"};
    QTest::newRow("Ukrainian") << three << "Ukrainian" << QStringList{"один-uk"};
    QTest::newRow("another language reads nothing") << three << "German" << QStringList();
    QTest::newRow("no language reads nothing") << three << "" << QStringList();
    QTest::newRow("English section missing")
        << QByteArray("[Info new version ru]\nQuantity of lines=1\nLine 1=x\n") << "English"
        << QStringList();
    QTest::newRow("quantity past the keys gives empty lines")
        << QByteArray("[Info new version en]\nQuantity of lines=3\nLine 1=a\n") << "English"
        << QStringList{"a", "", ""};
    QTest::newRow("quantity below the keys stops early")
        << QByteArray("[Info new version en]\nQuantity of lines=1\nLine 1=a\nLine 2=b\n")
        << "English" << QStringList{"a"};
    QTest::newRow("negative quantity")
        << QByteArray("[Info new version en]\nQuantity of lines=-4\n") << "English"
        << QStringList();
    QTest::newRow("quantity not a number")
        << QByteArray("[Info new version en]\nQuantity of lines=many\nLine 1=a\n") << "English"
        << QStringList();
    QTest::newRow("leading zero is another key")
        << QByteArray("[Info new version en]\nQuantity of lines=1\nLine 01=a\n") << "English"
        << QStringList{""};
}

void TstManifest::featureLines() {
    QFETCH(QByteArray, file);
    QFETCH(QString, language);
    QFETCH(QStringList, lines);
    QCOMPARE(manifest::featureLines(ProfileFile::parse(file), language), lines);
}

void TstManifest::absurdQuantityIsCapped() {
    const QStringList few = manifest::featureLines(
        ProfileFile::parse("[Info new version en]\nQuantity of lines=2000000000\nLine 1=a\n"
                           "Line 3=c\n"),
        QStringLiteral("English"));
    QCOMPARE(few.size(), manifest::FeatureLineCap);
    QCOMPARE(few.mid(0, 4), (QStringList{"a", "", "c", ""}));

    // A list longer than the cap is read up to the cap, however many keys are there.
    QByteArray many = "[Info new version en]\nQuantity of lines=50000\n";
    for (int i = 1; i <= 50000; ++i)
        many += "Line " + QByteArray::number(i) + "=" + QByteArray::number(i) + "\n";
    const QStringList capped =
        manifest::featureLines(ProfileFile::parse(many), QStringLiteral("English"));
    QCOMPARE(capped.size(), manifest::FeatureLineCap);
    QCOMPARE(capped.last(), QStringLiteral("1000"));
}

void TstManifest::serverAddress_data() {
    QTest::addColumn<QByteArray>("environment");
    QTest::addColumn<QString>("manifestUrl");
    QTest::newRow("a local test server") << QByteArray("http://127.0.0.1:8080")
                                         << "http://127.0.0.1:8080/program/velmora/update.ums";
    QTest::newRow("trailing slash") << QByteArray("https://mirror.example.org/")
                                    << "https://mirror.example.org/program/velmora/update.ums";
    QTest::newRow("no scheme is https") << QByteArray("mirror.example.org")
                                        << "https://mirror.example.org/program/velmora/update.ums";
    QTest::newRow("blanks only: no server") << QByteArray("  ") << "";
}

void TstManifest::serverAddress() {
    QFETCH(QByteArray, environment);
    QFETCH(QString, manifestUrl);
    const QByteArray saved = qgetenv("VELMORA_UPDATE_SERVER");
    qputenv("VELMORA_UPDATE_SERVER", environment);
    const QString url = manifest::manifestUrl();
    const QString base = manifest::serverBase();
    qputenv("VELMORA_UPDATE_SERVER", saved);
    QCOMPARE(url, manifestUrl);
    QCOMPARE(base.isEmpty(), manifestUrl.isEmpty());
}

Q_DECLARE_METATYPE(velmora::UpdateFailure)

void TstManifest::installerPlan_data() {
    QTest::addColumn<QByteArray>("setup"); // the "Info setup" lines besides the version
    QTest::addColumn<QString>("manifestUrl");
    QTest::addColumn<QString>("fileName");               // empty: refused
    QTest::addColumn<qint64>("maxBytes");                // planned
    QTest::addColumn<velmora::UpdateFailure>("failure"); // when refused

    using velmora::UpdateFailure;
    const QString https = QStringLiteral("https://example.org/program/velmora/update.ums");
    const QString http = QStringLiteral("http://example.org/program/velmora/update.ums");
    const QByteArray digest = "SHA-256=" + QByteArray(64, 'a') + "\n";
    const QByteArray newer = "Version 1=33\n";
    const qint64 cap = velmora::InstallerSizeCap;
    const auto plan = [&](const char* name, const QByteArray& setup, const QString& from,
                          const char* file, qint64 maxBytes) {
        QTest::newRow(name) << newer + setup << from << QString::fromLatin1(file) << maxBytes
                            << UpdateFailure::DownloadFailed;
    };
    const auto refuse = [&](const char* name, const QByteArray& setup, const QString& from,
                            UpdateFailure failure) {
        QTest::newRow(name) << setup << from << QString() << qint64(0) << failure;
    };

    plan("package over https", "URL=https://example.org/get/velmora-4.0.deb\n" + digest, https,
         "setup.deb", cap);
    plan("AppImage keeps its kind, in any case",
         "URL=https://example.org/Velmora.appimage\n" + digest, https, "setup.AppImage", cap);
    plan("run file with its size",
         "URL=https://example.org/velmora.run?from=app\nSize 1=5000\n" + digest, https, "setup.run",
         5000);
    plan("size 0 means the cap", "URL=https://example.org/v.deb\nSize 1=0\n" + digest, https,
         "setup.deb", cap);
    plan("a negative size means the cap", "URL=https://example.org/v.deb\nSize 1=-5\n" + digest,
         https, "setup.deb", cap);
    plan("http installer from an http manifest", "URL=http://example.org/v.deb\n" + digest, http,
         "setup.deb", cap);
    plan("an encoded slash names no other file",
         "URL=https://example.org/x%2F..%2F..%2Fevil.deb\n" + digest, https, "setup.deb", cap);
    plan("digest in capitals",
         "URL=https://example.org/v.deb\nSHA-256=" + QByteArray(64, 'A') + "\n", https, "setup.deb",
         cap);

    const QByteArray good = "URL=https://example.org/v.deb\n" + digest;
    refuse("the program's own version", "Version 1=32\n" + good, https,
           UpdateFailure::ManifestRefused);
    refuse("an older version", "Version 1=31\n" + good, https, UpdateFailure::ManifestRefused);
    refuse("no version", good, https, UpdateFailure::ManifestRefused);
    refuse("http installer from an https manifest",
           newer + "URL=http://example.org/v.deb\n" + digest, https, UpdateFailure::AddressRefused);
    refuse("no address", newer + digest, https, UpdateFailure::AddressRefused);
    refuse("ftp address", newer + "URL=ftp://example.org/v.deb\n" + digest, http,
           UpdateFailure::AddressRefused);
    refuse("file address", newer + "URL=file:///tmp/v.deb\n" + digest, http,
           UpdateFailure::AddressRefused);
    refuse("Windows installer", newer + "URL=https://example.org/setup.exe\n" + digest, https,
           UpdateFailure::UnusableInstaller);
    refuse("desktop entry", newer + "URL=https://example.org/velmora.desktop\n" + digest, https,
           UpdateFailure::UnusableInstaller);
    refuse("shell script", newer + "URL=https://example.org/install.sh\n" + digest, https,
           UpdateFailure::UnusableInstaller);
    refuse("a shell script whose fragment ends in .run",
           newer + "URL=https://example.org/a.sh#.run\n" + digest, https,
           UpdateFailure::UnusableInstaller);
    refuse("a shell script whose query ends in .run",
           newer + "URL=https://example.org/y.sh?a=.run\n" + digest, https,
           UpdateFailure::UnusableInstaller);
    refuse("Java archive", newer + "URL=https://example.org/velmora.jar\n" + digest, https,
           UpdateFailure::UnusableInstaller);
    refuse("compressed archive", newer + "URL=https://example.org/velmora.tar.gz\n" + digest, https,
           UpdateFailure::UnusableInstaller);
    refuse("no extension", newer + "URL=https://example.org/download/velmora\n" + digest, https,
           UpdateFailure::UnusableInstaller);
    refuse("a hidden name", newer + "URL=https://example.org/.deb\n" + digest, https,
           UpdateFailure::UnusableInstaller);
    refuse("folder address", newer + "URL=https://example.org/download/\n" + digest, https,
           UpdateFailure::UnusableInstaller);
    refuse("no digest", newer + "URL=https://example.org/v.deb\n", https,
           UpdateFailure::ManifestRefused);
    refuse("a digest too short",
           newer + "URL=https://example.org/v.deb\nSHA-256=" + QByteArray(63, 'a') + "\n", https,
           UpdateFailure::ManifestRefused);
    refuse("a digest that is not hexadecimal",
           newer + "URL=https://example.org/v.deb\nSHA-256=" + QByteArray(64, 'g') + "\n", https,
           UpdateFailure::ManifestRefused);
}

void TstManifest::installerPlan() {
    QFETCH(QByteArray, setup);
    QFETCH(QString, manifestUrl);
    QFETCH(QString, fileName);
    QFETCH(qint64, maxBytes);
    QFETCH(velmora::UpdateFailure, failure);
    const auto planned =
        velmora::planInstaller(ProfileFile::parse("[Info setup]\n" + setup), manifestUrl);
    if (fileName.isEmpty()) {
        QVERIFY(std::holds_alternative<velmora::UpdateFailure>(planned));
        QCOMPARE(std::get<velmora::UpdateFailure>(planned), failure);
        return;
    }
    QVERIFY(std::holds_alternative<velmora::InstallerPlan>(planned));
    const velmora::InstallerPlan& plan = std::get<velmora::InstallerPlan>(planned);
    QCOMPARE(plan.fileName, fileName);
    QCOMPARE(plan.maxBytes, maxBytes);
    QCOMPARE(plan.expected.size, maxBytes == velmora::InstallerSizeCap ? -1 : maxBytes);
    QCOMPARE(plan.expected.sha256.size(), 32);
}

// A keyed build takes the signed part of a manifest signed whole by its key that has not
// expired, and nothing else; every key of every section is covered. A build without a key takes
// the file as it is.
void TstManifest::signedManifests_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("keyed");
    QTest::addColumn<int>("afterExpiry"); // seconds from the expiry to the check
    QTest::addColumn<int>("version");     // offered, as read; 0: refused

    QVERIFY2(m_release.problem().isEmpty(), qPrintable(m_release.problem()));
    QTemporaryDir dir;
    const QString features = dir.filePath(QStringLiteral("features"));
    {
        QFile file(features);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Faster\nNew themes\n");
    }
    const QByteArray good =
        m_release.manifest("installer bytes", QStringLiteral("https://example.org/get/v.deb"), 33,
                           {QStringLiteral("--features-en"), features});
    QVERIFY2(m_release.problem().isEmpty(), qPrintable(m_release.problem()));
    const QByteArray body = velmora::test::signedPart(good);
    const auto change = [&good](const QByteArray& key, const QByteArray& value) {
        return velmora::test::withManifestLine(good, key, value);
    };
    using velmora::test::withManifestLine;
    const int before = -1;

    QTest::newRow("the release tool's manifest") << good << true << before << 33;
    QTest::newRow("a second before it expires") << good << true << -1 << 33;
    QTest::newRow("expired") << good << true << 0 << 0;
    QTest::newRow("a day after it expired") << good << true << 86400 << 0;
    QTest::newRow("tampered version") << change("Version 1", "99") << true << before << 0;
    QTest::newRow("tampered version text") << change("Version 2", "9.9") << true << before << 0;
    QTest::newRow("tampered address")
        << change("URL", "https://example.org/get/old.deb") << true << before << 0;
    QTest::newRow("tampered kind")
        << change("URL", "https://example.org/get/v.run") << true << before << 0;
    QTest::newRow("tampered size") << change("Size 1", "16") << true << before << 0;
    QTest::newRow("tampered size text") << change("Size 2", "700") << true << before << 0;
    QTest::newRow("tampered digest")
        << change("SHA-256", QByteArray(64, 'a')) << true << before << 0;
    QTest::newRow("tampered expiry")
        << change("Expires", "2999-01-01T00:00:00Z") << true << before << 0;
    QTest::newRow("tampered feature line") << change("Line 1", "Free money") << true << before << 0;
    QTest::newRow("a feature line added")
        << QByteArray(good).replace("Line 2=New themes\n", "Line 2=New themes\nLine 3=More\n")
        << true << before << 0;
    QTest::newRow("signed by another key") << m_otherRelease.resign(good) << true << before << 0;
    QTest::newRow("unsigned") << body << true << before << 0;
    QTest::newRow("a signature that is not base64")
        << change("Ed25519", "***") << true << before << 0;
    QTest::newRow("a signature cut short")
        << change("Ed25519", QByteArray(63, 's').toBase64()) << true << before << 0;
    QTest::newRow("a section added after the signature is not read")
        << good + "[Info setup]\nVersion 1=99\n"
        << true << before << 33;
    QTest::newRow("a manifest before the signed one")
        << "[Info setup]\nVersion 1=99\n" + good << true << before << 0;
    QTest::newRow("signed, without an expiry")
        << m_release.resign(withManifestLine(good, "Expires", QByteArray())) << true << before << 0;
    QTest::newRow("signed, an expiry in another form")
        << m_release.resign(withManifestLine(good, "Expires", "2999-01-01")) << true << before << 0;
    QTest::newRow("without a key: unsigned, as it is") << body << false << before << 33;
    QTest::newRow("without a key: tampered, as it is")
        << change("Version 1", "99") << false << before << 99;
    QTest::newRow("without a key: expired, as it is") << good << false << 86400 << 33;
}

void TstManifest::signedManifests() {
    QFETCH(QByteArray, file);
    QFETCH(bool, keyed);
    QFETCH(int, afterExpiry);
    QFETCH(int, version);
    const QByteArray key = keyed ? m_release.publicKey() : QByteArray();
    // The expiry the tool wrote, 30 days from now.
    const QDateTime expires = manifest::expiry(ProfileFile::parse(file));
    const QDateTime now =
        expires.isValid() ? expires.addSecs(afterExpiry) : QDateTime::currentDateTimeUtc();
    const std::optional<ProfileFile> read = manifest::readManifest(file, key, now);
    QCOMPARE(read ? manifest::offeredVersion(*read) : 0, version);
}

void TstManifest::releaseToolExpiry() {
    const QByteArray made =
        m_release.manifest("x", QStringLiteral("https://example.org/v.deb"), 33,
                           {QStringLiteral("--valid-days"), QStringLiteral("7")});
    QVERIFY2(m_release.problem().isEmpty(), qPrintable(m_release.problem()));
    const qint64 left =
        QDateTime::currentDateTimeUtc().secsTo(manifest::expiry(ProfileFile::parse(made)));
    QVERIFY2(left > 7 * 86400 - 600 && left <= 7 * 86400, qPrintable(QString::number(left)));
    const QByteArray usual = m_release.manifest("x", QStringLiteral("https://example.org/v.deb"));
    QCOMPARE(
        qRound(QDateTime::currentDateTimeUtc().secsTo(manifest::expiry(ProfileFile::parse(usual))) /
               86400.0),
        30);
}

void TstManifest::progressFigures_data() {
    QTest::addColumn<qint64>("received");
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<int>>("figures"); // kilobytes, bar, percent
    constexpr int maxInt = std::numeric_limits<int>::max();
    QTest::newRow("850,000 of 1,700,000") << qint64(850000) << 1700000 << QList<int>{830, 202, 50};
    QTest::newRow("1,023 bytes are 0 kilobytes") << qint64(1023) << 1700000 << QList<int>{0, 0, 0};
    QTest::newRow("nothing yet") << qint64(0) << 1700000 << QList<int>{0, 0, 0};
    QTest::newRow("all of it") << qint64(1700000) << 1700000 << QList<int>{1660, 404, 100};
    QTest::newRow("size 0: no division") << qint64(850000) << 0 << QList<int>{830, 0, 0};
    QTest::newRow("negative size: no division") << qint64(850000) << -7 << QList<int>{830, 0, 0};
    QTest::newRow("largest size, no overflow")
        << qint64(maxInt - 1) << maxInt << QList<int>{2097151, 403, 99};
    QTest::newRow("past the size stays full") << qint64(3000) << 1000 << QList<int>{2, 404, 100};
}

void TstManifest::progressFigures() {
    QFETCH(qint64, received);
    QFETCH(int, size);
    QFETCH(QList<int>, figures);
    const velmora::ProgressFigures shown = velmora::progressFigures(received, size);
    QCOMPARE((QList<qint64>{shown.kilobytes, shown.bar, shown.percent}),
             (QList<qint64>{figures[0], figures[1], figures[2]}));
}

void TstManifest::animationTickByTick_data() {
    QTest::addColumn<bool>("unfold");
    QTest::addColumn<QList<int>>("heights"); // client height after each tick
    QTest::addColumn<QList<int>>("tops");    // top edge after each tick, starting from 0

    QList<int> heights;
    QList<int> tops;
    int top = 0;
    for (int height = 224; height <= 352; height += 8)
        heights << height, tops << (top -= 4);
    heights << 358 << 362 << 365 << 367 << 368;
    for (int change : {-3, -2, -1, -1, -1})
        tops << (top += change);
    QTest::newRow("unfold") << true << heights << tops;

    heights.clear();
    tops.clear();
    top = 0;
    for (int height = 360; height >= 232; height -= 8)
        heights << height, tops << (top += 4);
    heights << 226 << 222 << 219 << 217 << 216;
    for (int change : {3, 2, 1, 1, 1})
        tops << (top += change);
    QTest::newRow("fold") << false << heights << tops;
}

void TstManifest::animationTickByTick() {
    QFETCH(bool, unfold);
    QFETCH(QList<int>, heights);
    QFETCH(QList<int>, tops);
    QCOMPARE(heights.size(), 22);
    int height = unfold ? fold::CollapsedHeight : fold::ExpandedHeight;
    int top = 0;
    for (int tick = 0; tick < 22; ++tick) {
        const auto step = unfold ? fold::unfoldStep(height) : fold::foldStep(height);
        QVERIFY2(step, qPrintable(QStringLiteral("no step at tick %1").arg(tick + 1)));
        height += step->height;
        top += step->top;
        QCOMPARE(height, heights[tick]);
        QCOMPARE(top, tops[tick]);
        QCOMPARE(step->last, tick == 21);
    }
    QCOMPARE(top, unfold ? -76 : 76);
}

void TstManifest::heightsOutsideTheTablesDoNothing() {
    for (int height : {215, 345, 351, 353, 368, 369, 500})
        QVERIFY2(!fold::unfoldStep(height), qPrintable(QString::number(height)));
    for (int height : {216, 218, 233, 239, 369, 100})
        QVERIFY2(!fold::foldStep(height), qPrintable(QString::number(height)));
}

QTEST_GUILESS_MAIN(TstManifest)
#include "tst_manifest.moc"
