#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace velmora::test {

// A release key made by the release tool (packaging/make-update-manifest) for one test, and the
// manifests the tool writes with it, as a release would publish them.
class ReleaseTool {
public:
    ReleaseTool();

    // The public key, 32 raw bytes, as a build carries it.
    QByteArray publicKey() const;
    // The manifest for the installer bytes published at url, offering the given version.
    QByteArray manifest(const QByteArray& installer, const QString& url, int version = 33) const;

    // What went wrong, or "" when the tool worked.
    QString problem() const { return m_problem; }

private:
    QByteArray run(const QStringList& arguments) const;

    QTemporaryDir m_dir;
    QByteArray m_publicKey;
    mutable QString m_problem;
};

// The manifest with the line of the given key replaced by "key=value", or removed when value is
// null; for manifests that differ from the tool's in one line.
QByteArray withManifestLine(const QByteArray& manifest, const QByteArray& key,
                            const QByteArray& value);

} // namespace velmora::test
