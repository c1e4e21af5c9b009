#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace velmora::test {

// A release key made by the release tool (packaging/make-update-manifest) for one test, or one
// made before (a private key file), and the manifests the tool writes with it, as a release
// would publish them.
class ReleaseTool {
public:
    ReleaseTool();
    // With the private key at this path, made by the tool's new-key.
    explicit ReleaseTool(const QString& privateKey);

    // The public key, 32 raw bytes, as a build carries it.
    QByteArray publicKey() const;
    QString privateKeyPath() const { return m_key; }
    // The manifest for the installer bytes published at url, offering the given version (an
    // http address is allowed, for the tests' local server), with more of the tool's options.
    QByteArray manifest(const QByteArray& installer, const QString& url, int version = 33,
                        const QStringList& more = {}) const;
    // The manifest's text above its signature section, signed again with this key: a manifest
    // as someone holding the key could make it, changed in ways the tool would not write.
    QByteArray resign(const QByteArray& manifest) const;

    // Runs the tool with these arguments: its exit code, with what it wrote.
    struct Run {
        int exitCode = -1;
        QByteArray output;
        QByteArray errors;
    };
    static Run runTool(const QStringList& arguments);

    // What went wrong, or "" when the tool worked.
    QString problem() const { return m_problem; }

private:
    QByteArray run(const QStringList& arguments) const;

    QTemporaryDir m_dir;
    QString m_key;
    QByteArray m_publicKey;
    mutable QString m_problem;
};

// The manifest with the line of the given key replaced by "key=value", or removed when value is
// null; for manifests that differ from the tool's in one line.
QByteArray withManifestLine(const QByteArray& manifest, const QByteArray& key,
                            const QByteArray& value);

// The manifest's text above its signature section.
QByteArray signedPart(const QByteArray& manifest);

} // namespace velmora::test
