// The release tool (packaging/make-update-manifest) as a publisher meets it: its key folder is
// private, it refuses what no program would take (another kind of key, an address the program
// refuses, a version not above the program's own, more feature lines than the dialog shows, an
// expiry out of range) and then writes nothing, not even part of a manifest, and it writes a size
// that never reads "0.00".
#include "tests/support/releasetool.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using Run = velmora::test::ReleaseTool::Run;

class TstReleaseTool : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void newKeyFolderIsPrivate();
    void refusals_data();
    void refusals();
    void sizeText_data();
    void sizeText();

private:
    QString write(const QString& name, const QByteArray& bytes);
    QStringList manifestArguments(const QString& url = QStringLiteral("https://example.org/v.deb"));

    QTemporaryDir m_dir;
    QString m_key;
};

QString TstReleaseTool::write(const QString& name, const QByteArray& bytes) {
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QStringList TstReleaseTool::manifestArguments(const QString& url) {
    return {QStringLiteral("manifest"),
            QStringLiteral("--key"),
            m_key,
            QStringLiteral("--installer"),
            m_dir.filePath("installer"),
            QStringLiteral("--url"),
            url,
            QStringLiteral("--version"),
            QStringLiteral("33"),
            QStringLiteral("--version-text"),
            QStringLiteral("3.3")};
}

void TstReleaseTool::initTestCase() {
    const Run made = velmora::test::ReleaseTool::runTool(
        {QStringLiteral("new-key"), m_dir.filePath(QStringLiteral("keys"))});
    QCOMPARE(made.exitCode, 0);
    m_key = m_dir.filePath(QStringLiteral("keys/update-signing-key.pem"));
    write(QStringLiteral("installer"), "installer bytes");
    QProcess rsa;
    rsa.start(QStringLiteral("openssl"),
              {QStringLiteral("genpkey"), QStringLiteral("-algorithm"), QStringLiteral("rsa"),
               QStringLiteral("-pkeyopt"), QStringLiteral("rsa_keygen_bits:1024"),
               QStringLiteral("-out"), m_dir.filePath(QStringLiteral("rsa.pem"))});
    QVERIFY(rsa.waitForFinished(60000));
    QCOMPARE(rsa.exitCode(), 0);
}

// With the usual umask the folder would be 0755: the tool makes a new one 0700, and never
// replaces a key it made before.
void TstReleaseTool::newKeyFolderIsPrivate() {
    const mode_t saved = umask(022);
    const QString folder = m_dir.filePath(QStringLiteral("new/keys"));
    const Run made = velmora::test::ReleaseTool::runTool({QStringLiteral("new-key"), folder});
    umask(saved);
    QCOMPARE(made.exitCode, 0);
    QCOMPARE(QFileInfo(folder).permissions() & QFileDevice::Permissions(0x7077),
             QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(QFileInfo(folder + QStringLiteral("/update-signing-key.pem")).permissions() &
                 QFileDevice::Permissions(0x7077),
             QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const Run again = velmora::test::ReleaseTool::runTool({QStringLiteral("new-key"), folder});
    QCOMPARE(again.exitCode, 1);
    QVERIFY(again.errors.contains("exists already"));
}

void TstReleaseTool::refusals_data() {
    QTest::addColumn<QStringList>("arguments"); // besides the usual ones; "url=…" replaces the URL
    QTest::addColumn<QByteArray>("message");

    const QString lines1001 =
        write(QStringLiteral("1001 lines"), QByteArray("feature\n").repeated(1001));
    QTest::newRow("an RSA key") << QStringList{QStringLiteral("--key"), m_dir.filePath("rsa.pem")}
                                << QByteArray("not an Ed25519 private key");
    QTest::newRow("a shell script whose fragment ends in .run")
        << QStringList{QStringLiteral("url=https://example.org/a.sh#.run")} << QByteArray("--url");
    QTest::newRow("a shell script whose query ends in .run")
        << QStringList{QStringLiteral("url=https://example.org/y.sh?a=.run")}
        << QByteArray("--url");
    QTest::newRow("a shell script")
        << QStringList{QStringLiteral("url=https://example.org/install.sh")} << QByteArray("--url");
    QTest::newRow("plain http") << QStringList{QStringLiteral("url=http://example.org/v.deb")}
                                << QByteArray("--url");
    QTest::newRow("no host") << QStringList{QStringLiteral("url=https:///v.deb")}
                             << QByteArray("--url");
    QTest::newRow("the program's own version")
        << QStringList{QStringLiteral("--version"), QStringLiteral("32")}
        << QByteArray("not above the program's own (32)");
    QTest::newRow("an older version")
        << QStringList{QStringLiteral("--version"), QStringLiteral("31")}
        << QByteArray("not above the program's own (32)");
    QTest::newRow("a version that is no number")
        << QStringList{QStringLiteral("--version"), QStringLiteral("3.3")}
        << QByteArray("whole number");
    QTest::newRow("a missing features file")
        << QStringList{QStringLiteral("--features-en"), m_dir.filePath("missing")}
        << QByteArray("cannot read the features file");
    QTest::newRow("more feature lines than the dialog shows")
        << QStringList{QStringLiteral("--features-ru"), lines1001} << QByteArray("at most 1000");
    QTest::newRow("valid for no day")
        << QStringList{QStringLiteral("--valid-days"), QStringLiteral("0")}
        << QByteArray("--valid-days");
    QTest::newRow("valid for more than a year")
        << QStringList{QStringLiteral("--valid-days"), QStringLiteral("367")}
        << QByteArray("--valid-days");
}

// Each refusal says why, writes nothing to standard output and leaves an earlier manifest as it
// was.
void TstReleaseTool::refusals() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, message);
    QStringList all = manifestArguments();
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i].startsWith(QLatin1String("url="))) {
            all[all.indexOf(QStringLiteral("--url")) + 1] = arguments[i].mid(4);
        } else if (const qsizetype at = all.indexOf(arguments[i]); at > 0) {
            all[at + 1] = arguments[++i];
        } else {
            all << arguments[i] << arguments[i + 1];
            ++i;
        }
    }
    const QString output = write(QStringLiteral("update.ums"), "the last release's manifest\n");

    const Run toStandardOutput = velmora::test::ReleaseTool::runTool(all);
    QCOMPARE(toStandardOutput.exitCode, 1);
    QVERIFY2(toStandardOutput.errors.contains(message), toStandardOutput.errors.constData());
    QCOMPARE(toStandardOutput.output, QByteArray());

    const Run toFile =
        velmora::test::ReleaseTool::runTool(all << QStringLiteral("--output") << output);
    QCOMPARE(toFile.exitCode, 1);
    QFile kept(output);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("the last release's manifest\n"));
}

void TstReleaseTool::sizeText_data() {
    QTest::addColumn<int>("bytes");
    QTest::addColumn<QByteArray>("sizes");
    QTest::newRow("one byte is 1 KB") << 1 << QByteArray("Size 1=1\nSize 2=1\n");
    QTest::newRow("2,000 bytes are 2 KB") << 2000 << QByteArray("Size 1=2000\nSize 2=2\n");
    QTest::newRow("a byte below 1 MB is 1024 KB")
        << 1048575 << QByteArray("Size 1=1048575\nSize 2=1024\n");
    QTest::newRow("1 MB") << 1048576 << QByteArray("Size 1=1048576\nSize 2=1.00\n");
    QTest::newRow("1.5 MB") << 1572864 << QByteArray("Size 1=1572864\nSize 2=1.50\n");
}

void TstReleaseTool::sizeText() {
    QFETCH(int, bytes);
    QFETCH(QByteArray, sizes);
    write(QStringLiteral("installer"), QByteArray(bytes, 'x'));
    const QString output = m_dir.filePath(QStringLiteral("sized.ums"));
    const Run made = velmora::test::ReleaseTool::runTool(manifestArguments()
                                                         << QStringLiteral("--output") << output);
    QCOMPARE(made.exitCode, 0);
    QCOMPARE(made.output, QByteArray());
    QFile manifest(output);
    QVERIFY(manifest.open(QIODevice::ReadOnly));
    QVERIFY2(manifest.readAll().contains(sizes), qPrintable(output));
}

QTEST_GUILESS_MAIN(TstReleaseTool)
#include "tst_releasetool.moc"
