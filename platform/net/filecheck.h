#pragma once

#include <QByteArray>
#include <QString>

namespace velmora {

// What a downloaded file must be.
struct FileExpectation {
    qint64 size = -1;     // its size in bytes; -1 for any size
    QByteArray sha256;    // its SHA-256 digest, 32 bytes
    QByteArray publicKey; // a 32-byte Ed25519 public key, or empty when no signature is asked for
    QByteArray signature; // with a key: the key's 64-byte Ed25519 signature over the file's bytes
};

// True when the file is exactly what was expected: the size (when given), the digest, and the
// signature when a key is given. An expectation without a 32-byte digest is never met. The
// cryptographic library (OpenSSL's libcrypto, already a dependency of the transfer library) is
// opened at the first check, not linked, so no start of the program loads it; without it no file
// passes. Any thread.
bool fileMeetsExpectation(const QString& path, const FileExpectation& expected);

} // namespace velmora
