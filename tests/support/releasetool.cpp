#include "tests/support/releasetool.h"

#include <QFile>
#include <QProcess>

namespace velmora::test {
namespace {

const QString kTool = QStringLiteral(VELMORA_SOURCE_DIR "/packaging/make-update-manifest");
const QByteArray kSignatureHeader = "\n[Manifest signature]";

QByteArray publicKeyOf(const QString& privateKey, QString& problem) {
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("pkey"), QStringLiteral("-in"), privateKey,
                   QStringLiteral("-pubout"), QStringLiteral("-outform"), QStringLiteral("DER")});
    if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0) {
        problem = QStringLiteral("openssl could not read ") + privateKey;
        return {};
    }
    return openssl.readAllStandardOutput().right(32);
}

} // namespace

ReleaseTool::ReleaseTool() : m_key(m_dir.filePath(QStringLiteral("keys/update-signing-key.pem"))) {
    const QByteArray printed =
        run({QStringLiteral("new-key"), m_dir.filePath(QStringLiteral("keys"))});
    m_publicKey = QByteArray::fromBase64(printed.trimmed());
    if (m_problem.isEmpty() && m_publicKey.size() != 32)
        m_problem = QStringLiteral("the tool printed no public key: ") + QString::fromUtf8(printed);
}

ReleaseTool::ReleaseTool(const QString& privateKey) : m_key(privateKey) {
    m_publicKey = publicKeyOf(privateKey, m_problem);
}

QByteArray ReleaseTool::publicKey() const {
    return m_publicKey;
}

QByteArray ReleaseTool::manifest(const QByteArray& installer, const QString& url, int version,
                                 const QStringList& more) const {
    const QString path = m_dir.filePath(QStringLiteral("installer"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(installer) != installer.size()) {
        m_problem = QStringLiteral("cannot write ") + path;
        return {};
    }
    file.close();
    QStringList arguments{QStringLiteral("manifest"),
                          QStringLiteral("--key"),
                          m_key,
                          QStringLiteral("--installer"),
                          path,
                          QStringLiteral("--url"),
                          url,
                          QStringLiteral("--version"),
                          QString::number(version),
                          QStringLiteral("--version-text"),
                          QStringLiteral("4.0")};
    if (url.startsWith(QLatin1String("http://")))
        arguments << QStringLiteral("--allow-http");
    return run(arguments + more);
}

QByteArray ReleaseTool::resign(const QByteArray& manifest) const {
    const QByteArray body = signedPart(manifest);
    const QString bodyPath = m_dir.filePath(QStringLiteral("body"));
    const QString signaturePath = m_dir.filePath(QStringLiteral("signature"));
    QFile file(bodyPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(body) != body.size()) {
        m_problem = QStringLiteral("cannot write ") + bodyPath;
        return {};
    }
    file.close();
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("pkeyutl"), QStringLiteral("-sign"), QStringLiteral("-rawin"),
                   QStringLiteral("-inkey"), m_key, QStringLiteral("-in"), bodyPath,
                   QStringLiteral("-out"), signaturePath});
    QFile signature(signaturePath);
    if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0 ||
        !signature.open(QIODevice::ReadOnly)) {
        m_problem = QStringLiteral("openssl could not sign");
        return {};
    }
    m_problem.clear();
    return body + "[Manifest signature]\nEd25519=" + signature.readAll().toBase64() + "\n";
}

ReleaseTool::Run ReleaseTool::runTool(const QStringList& arguments) {
    QProcess tool;
    tool.start(kTool, arguments);
    Run result;
    if (tool.waitForFinished(120000) && tool.exitStatus() == QProcess::NormalExit)
        result.exitCode = tool.exitCode();
    result.output = tool.readAllStandardOutput();
    result.errors = tool.readAllStandardError();
    return result;
}

QByteArray ReleaseTool::run(const QStringList& arguments) const {
    m_problem.clear();
    const Run result = runTool(arguments);
    if (result.exitCode != 0) {
        m_problem =
            QStringLiteral("%1 %2 failed: %3")
                .arg(kTool, arguments.join(QLatin1Char(' ')), QString::fromUtf8(result.errors));
        return {};
    }
    return result.output;
}

QByteArray withManifestLine(const QByteArray& manifest, const QByteArray& key,
                            const QByteArray& value) {
    QList<QByteArray> lines = manifest.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines[i].startsWith(key + '='))
            continue;
        if (value.isNull())
            lines.removeAt(i);
        else
            lines[i] = key + '=' + value;
        break;
    }
    return lines.join('\n');
}

QByteArray signedPart(const QByteArray& manifest) {
    const qsizetype at = manifest.lastIndexOf(kSignatureHeader);
    return at < 0 ? manifest : manifest.left(at + 1);
}

} // namespace velmora::test
