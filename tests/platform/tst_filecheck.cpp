// The check of a downloaded file against its size, SHA-256 digest and Ed25519 signature, with a
// key and signatures made by the release tool: only the exact file with a good signature by the
// expected key passes.
#include "platform/net/filecheck.h"
#include "tests/support/releasetool.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using velmora::FileExpectation;

Q_DECLARE_METATYPE(FileExpectation)

namespace {

const QByteArray kInstaller = QByteArray("installer bytes ").repeated(4096);

QByteArray manifestValue(const QByteArray& manifest, const QByteArray& key) {
    for (const QByteArray& line : manifest.split('\n'))
        if (line.startsWith(key + '='))
            return line.mid(key.size() + 1);
    return {};
}

} // namespace

class TstFileCheck : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void expectations_data();
    void expectations();

private:
    velmora::test::ReleaseTool m_release;
    velmora::test::ReleaseTool m_otherRelease;
    QByteArray m_signature;        // the release key's, over kInstaller
    QByteArray m_otherSignature;   // the same key's, over other bytes
    QByteArray m_foreignSignature; // another key's, over kInstaller
};

void TstFileCheck::initTestCase() {
    QVERIFY2(m_release.problem().isEmpty(), qPrintable(m_release.problem()));
    QVERIFY2(m_otherRelease.problem().isEmpty(), qPrintable(m_otherRelease.problem()));
    const QString url = QStringLiteral("https://example.org/velmora.deb");
    const auto signatureOf = [&url](const velmora::test::ReleaseTool& tool,
                                    const QByteArray& bytes) {
        return QByteArray::fromBase64(manifestValue(tool.manifest(bytes, url), "Signature"));
    };
    m_signature = signatureOf(m_release, kInstaller);
    m_otherSignature = signatureOf(m_release, kInstaller + "!");
    m_foreignSignature = signatureOf(m_otherRelease, kInstaller);
    QCOMPARE(m_signature.size(), 64);
    QCOMPARE(m_otherSignature.size(), 64);
    QCOMPARE(m_foreignSignature.size(), 64);
}

void TstFileCheck::expectations_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<FileExpectation>("expected");
    QTest::addColumn<bool>("met");

    const QByteArray digest = QCryptographicHash::hash(kInstaller, QCryptographicHash::Sha256);
    const QByteArray key = m_release.publicKey();
    const qint64 size = kInstaller.size();
    QTest::newRow("right digest") << kInstaller << FileExpectation{-1, digest, {}, {}} << true;
    QTest::newRow("right size and digest")
        << kInstaller << FileExpectation{size, digest, {}, {}} << true;
    QTest::newRow("wrong size") << kInstaller << FileExpectation{size + 1, digest, {}, {}} << false;
    QTest::newRow("a file cut short")
        << kInstaller.left(size / 2) << FileExpectation{-1, digest, {}, {}} << false;
    QTest::newRow("one byte changed") << QByteArray(kInstaller).replace(100, 1, "X")
                                      << FileExpectation{-1, digest, {}, {}} << false;
    QTest::newRow("no digest") << kInstaller << FileExpectation{-1, {}, {}, {}} << false;
    QTest::newRow("a digest of the wrong length")
        << kInstaller << FileExpectation{-1, digest.left(31), {}, {}} << false;
    QTest::newRow("empty file with its digest")
        << QByteArray()
        << FileExpectation{0, QCryptographicHash::hash({}, QCryptographicHash::Sha256), {}, {}}
        << true;
    QTest::newRow("good signature")
        << kInstaller << FileExpectation{size, digest, key, m_signature} << true;
    QTest::newRow("signature over other bytes")
        << kInstaller << FileExpectation{size, digest, key, m_otherSignature} << false;
    QTest::newRow("signature by another key")
        << kInstaller << FileExpectation{size, digest, key, m_foreignSignature} << false;
    QTest::newRow("a key without a signature")
        << kInstaller << FileExpectation{size, digest, key, {}} << false;
    QTest::newRow("a key of the wrong length")
        << kInstaller << FileExpectation{size, digest, key.left(31), m_signature} << false;
    QTest::newRow("good signature, wrong digest")
        << kInstaller << FileExpectation{size, QByteArray(32, '\0'), key, m_signature} << false;
}

void TstFileCheck::expectations() {
    QFETCH(QByteArray, file);
    QFETCH(FileExpectation, expected);
    QFETCH(bool, met);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("setup.deb"));
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    QCOMPARE(out.write(file), file.size());
    out.close();
    QCOMPARE(velmora::fileMeetsExpectation(path, expected), met);
    QVERIFY(!velmora::fileMeetsExpectation(dir.filePath(QStringLiteral("missing")), expected));
}

QTEST_GUILESS_MAIN(TstFileCheck)
#include "tst_filecheck.moc"
