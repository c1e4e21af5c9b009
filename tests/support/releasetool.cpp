#include "tests/support/releasetool.h"

#include <QFile>
#include <QProcess>

namespace velmora::test {
namespace {

const QString kTool = QStringLiteral(VELMORA_SOURCE_DIR "/packaging/make-update-manifest");

} // namespace

ReleaseTool::ReleaseTool() {
    const QByteArray printed =
        run({QStringLiteral("new-key"), m_dir.filePath(QStringLiteral("keys"))});
    m_publicKey = QByteArray::fromBase64(printed.trimmed());
    if (m_problem.isEmpty() && m_publicKey.size() != 32)
        m_problem = QStringLiteral("the tool printed no public key: ") + QString::fromUtf8(printed);
}

QByteArray ReleaseTool::publicKey() const {
    return m_publicKey;
}

QByteArray ReleaseTool::manifest(const QByteArray& installer, const QString& url,
                                 int version) const {
    const QString path = m_dir.filePath(QStringLiteral("installer"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(installer) != installer.size()) {
        m_problem = QStringLiteral("cannot write ") + path;
        return {};
    }
    file.close();
    return run({QStringLiteral("manifest"), QStringLiteral("--key"),
                m_dir.filePath(QStringLiteral("keys/update-signing-key.pem")),
                QStringLiteral("--installer"), path, QStringLiteral("--url"), url,
                QStringLiteral("--version"), QString::number(version),
                QStringLiteral("--version-text"), QStringLiteral("4.0")});
}

QByteArray ReleaseTool::run(const QStringList& arguments) const {
    m_problem.clear();
    QProcess tool;
    tool.start(kTool, arguments);
    if (!tool.waitForFinished(120000) || tool.exitStatus() != QProcess::NormalExit ||
        tool.exitCode() != 0) {
        m_problem = QStringLiteral("%1 %2 failed: %3")
                        .arg(kTool, arguments.join(QLatin1Char(' ')),
                             QString::fromUtf8(tool.readAllStandardError()));
        return {};
    }
    return tool.readAllStandardOutput();
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

} // namespace velmora::test
