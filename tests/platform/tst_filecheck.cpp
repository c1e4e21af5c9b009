// The check of a downloaded file against its size and SHA-256 digest, through the handle it
// opened; and Ed25519 signatures, with keys and signatures made by the release tool: only the
// exact bytes with a good signature by the expected key pass.
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

// The tool's signature over a manifest's signed part.
QByteArray signatureOf(const QByteArray& manifest) {
    for (const QByteArray& line : manifest.split('\n'))
        if (line.startsWith("Ed25519="))
            return QByteArray::fromBase64(line.mid(8));
    return {};
}

} // namespace

class TstFileCheck : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void expectations_data();
    void expectations();
    void checkedBytesAreTheHandles();
    void signatures_data();
    void signatures();

private:
    velmora::test::ReleaseTool m_release;
    velmora::test::ReleaseTool m_otherRelease;
    QByteArray m_message;          // a manifest's signed part
    QByteArray m_signature;        // the release key's, over m_message
    QByteArray m_otherSignature;   // the same key's, over other bytes
    QByteArray m_foreignSignature; // another key's, over m_message
};

void TstFileCheck::initTestCase() {
    QVERIFY2(m_release.problem().isEmpty(), qPrintable(m_release.problem()));
    QVERIFY2(m_otherRelease.problem().isEmpty(), qPrintable(m_otherRelease.problem()));
    const QByteArray manifest =
        m_release.manifest(kInstaller, QStringLiteral("https://example.org/velmora.deb"));
    QVERIFY2(m_release.problem().isEmpty(), qPrintable(m_release.problem()));
    m_message = velmora::test::signedPart(manifest);
    m_signature = signatureOf(manifest);
    m_otherSignature = signatureOf(m_release.resign(m_message + "!\n"));
    m_foreignSignature = signatureOf(m_otherRelease.resign(m_message));
    for (const QByteArray* signature : {&m_signature, &m_otherSignature, &m_foreignSignature})
        QCOMPARE(signature->size(), 64);
}

void TstFileCheck::expectations_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<FileExpectation>("expected");
    QTest::addColumn<bool>("met");

    const QByteArray digest = QCryptographicHash::hash(kInstaller, QCryptographicHash::Sha256);
    const qint64 size = kInstaller.size();
    QTest::newRow("right digest") << kInstaller << FileExpectation{-1, digest} << true;
    QTest::newRow("right size and digest") << kInstaller << FileExpectation{size, digest} << true;
    QTest::newRow("wrong size") << kInstaller << FileExpectation{size + 1, digest} << false;
    QTest::newRow("a file cut short")
        << kInstaller.left(size / 2) << FileExpectation{-1, digest} << false;
    QTest::newRow("one byte changed")
        << QByteArray(kInstaller).replace(100, 1, "X") << FileExpectation{-1, digest} << false;
    QTest::newRow("no digest") << kInstaller << FileExpectation{-1, {}} << false;
    QTest::newRow("a digest of the wrong length")
        << kInstaller << FileExpectation{-1, digest.left(31)} << false;
    QTest::newRow("empty file with its digest")
        << QByteArray()
        << FileExpectation{0, QCryptographicHash::hash({}, QCryptographicHash::Sha256)} << true;
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

// The handle a check gives back holds the bytes it checked, from the start, whatever is renamed
// over the path afterwards.
void TstFileCheck::checkedBytesAreTheHandles() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("setup.run"));
    const QString other = dir.filePath(QStringLiteral("other"));
    for (const auto& [name, bytes] :
         {std::pair{path, kInstaller}, std::pair{other, QByteArray("#!/bin/sh\n")}}) {
        QFile out(name);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    const auto verified = velmora::openVerifiedFile(
        path,
        {kInstaller.size(), QCryptographicHash::hash(kInstaller, QCryptographicHash::Sha256)});
    QVERIFY(verified);
    QVERIFY(verified->isOpen());
    QVERIFY(!verified->isWritable());
    QVERIFY(QFile::remove(path));
    QVERIFY(QFile::rename(other, path));
    QCOMPARE(verified->readAll(), kInstaller);
}

void TstFileCheck::signatures_data() {
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("signature");
    QTest::addColumn<bool>("verifies");
    const QByteArray key = m_release.publicKey();
    QTest::newRow("good signature") << m_message << key << m_signature << true;
    QTest::newRow("one byte changed")
        << QByteArray(m_message).replace(20, 1, "X") << key << m_signature << false;
    QTest::newRow("one byte more") << m_message + "\n" << key << m_signature << false;
    QTest::newRow("signature over other bytes") << m_message << key << m_otherSignature << false;
    QTest::newRow("signature by another key") << m_message << key << m_foreignSignature << false;
    QTest::newRow("the other key's own signature")
        << m_message << m_otherRelease.publicKey() << m_foreignSignature << true;
    QTest::newRow("no signature") << m_message << key << QByteArray() << false;
    QTest::newRow("a signature cut short") << m_message << key << m_signature.left(63) << false;
    QTest::newRow("a key of the wrong length") << m_message << key.left(31) << m_signature << false;
}

void TstFileCheck::signatures() {
    QFETCH(QByteArray, message);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, signature);
    QFETCH(bool, verifies);
    QCOMPARE(velmora::ed25519Verifies(message, key, signature), verifies);
}

QTEST_GUILESS_MAIN(TstFileCheck)
#include "tst_filecheck.moc"
