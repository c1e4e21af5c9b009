#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <memory>

namespace velmora {

// What a downloaded file must be.
struct FileExpectation {
    qint64 size = -1;  // its size in bytes; -1 for any size
    QByteArray sha256; // its SHA-256 digest, 32 bytes
};

// Opens the file read-only and checks the bytes of what it opened: the size (when given) and
// the digest. The open file when they are what was expected, else null. Whoever starts the file
// starts it from this handle, so a file renamed over the path after the check is not what runs.
// An expectation without a 32-byte digest is never met. Any thread.
std::unique_ptr<QFile> openVerifiedFile(const QString& path, const FileExpectation& expected);

// openVerifiedFile, for a caller that needs only the answer.
bool fileMeetsExpectation(const QString& path, const FileExpectation& expected);

// True when signature (64 bytes) is publicKey's (32 raw bytes) Ed25519 signature over message.
// The cryptographic library (OpenSSL's libcrypto, already a dependency of the transfer library)
// is opened at the first call, not linked, so no start of the program loads it; without it
// nothing verifies. Any thread.
bool ed25519Verifies(QByteArrayView message, QByteArrayView publicKey, QByteArrayView signature);

} // namespace velmora
