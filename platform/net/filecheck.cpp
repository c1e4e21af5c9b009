#include "platform/net/filecheck.h"

#include <QCryptographicHash>
#include <QLibrary>
#include <QLoggingCategory>

#include <openssl/evp.h>

#include <mutex>
#include <type_traits>

namespace velmora {
namespace {

Q_LOGGING_CATEGORY(lcFileCheck, "velmora.filecheck")

// Only Ed25519 needs the library; the digest is QtCore's. The pointers take their types from the
// library's own declarations.
struct Crypto {
    decltype(&::EVP_PKEY_new_raw_public_key) newRawPublicKey = nullptr;
    decltype(&::EVP_PKEY_free) freeKey = nullptr;
    decltype(&::EVP_MD_CTX_new) newContext = nullptr;
    decltype(&::EVP_MD_CTX_free) freeContext = nullptr;
    decltype(&::EVP_DigestVerifyInit) verifyInit = nullptr;
    decltype(&::EVP_DigestVerify) verify = nullptr;

    bool complete() const {
        return newRawPublicKey && freeKey && newContext && freeContext && verifyInit && verify;
    }
};

std::once_flag g_openOnce;
Crypto g_crypto; // written once under g_openOnce, read-only afterwards

Crypto openCrypto() {
    // The library stays loaded for the rest of the process.
    QLibrary library(QStringLiteral("crypto"), 3);
    if (!library.load()) {
        qCWarning(lcFileCheck, "signatures cannot be checked: %s",
                  qUtf8Printable(library.errorString()));
        return {};
    }
    Crypto crypto;
    const auto resolve = [&library](auto& function, const char* name) {
        function =
            reinterpret_cast<std::remove_reference_t<decltype(function)>>(library.resolve(name));
    };
    resolve(crypto.newRawPublicKey, "EVP_PKEY_new_raw_public_key");
    resolve(crypto.freeKey, "EVP_PKEY_free");
    resolve(crypto.newContext, "EVP_MD_CTX_new");
    resolve(crypto.freeContext, "EVP_MD_CTX_free");
    resolve(crypto.verifyInit, "EVP_DigestVerifyInit");
    resolve(crypto.verify, "EVP_DigestVerify");
    if (!crypto.complete()) {
        qCWarning(lcFileCheck, "signatures cannot be checked: %s lacks a function",
                  qUtf8Printable(library.fileName()));
        return {};
    }
    return crypto;
}

} // namespace

std::unique_ptr<QFile> openVerifiedFile(const QString& path, const FileExpectation& expected) {
    constexpr qsizetype DigestBytes = 32;
    if (expected.sha256.size() != DigestBytes)
        return nullptr;
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly))
        return nullptr;
    // The size of what was opened, not of whatever the path names by now.
    if (expected.size >= 0 && file->size() != expected.size)
        return nullptr;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(file.get()) || file->pos() != file->size())
        return nullptr;
    if (hash.result() != expected.sha256)
        return nullptr;
    file->seek(0);
    return file;
}

bool fileMeetsExpectation(const QString& path, const FileExpectation& expected) {
    return openVerifiedFile(path, expected) != nullptr;
}

bool ed25519Verifies(QByteArrayView message, QByteArrayView publicKey, QByteArrayView signature) {
    constexpr qsizetype KeyBytes = 32;
    constexpr qsizetype SignatureBytes = 64;
    if (publicKey.size() != KeyBytes || signature.size() != SignatureBytes)
        return false;
    std::call_once(g_openOnce, [] { g_crypto = openCrypto(); });
    if (!g_crypto.complete())
        return false;
    const auto keyBytes = reinterpret_cast<const unsigned char*>(publicKey.data());
    const std::unique_ptr<EVP_PKEY, decltype(g_crypto.freeKey)> key(
        g_crypto.newRawPublicKey(EVP_PKEY_ED25519, nullptr, keyBytes, KeyBytes), g_crypto.freeKey);
    const std::unique_ptr<EVP_MD_CTX, decltype(g_crypto.freeContext)> context(g_crypto.newContext(),
                                                                              g_crypto.freeContext);
    if (!key || !context ||
        g_crypto.verifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1)
        return false;
    // Ed25519 signs the whole message at once.
    static const unsigned char nothing = 0;
    const auto data =
        message.isEmpty() ? &nothing : reinterpret_cast<const unsigned char*>(message.data());
    return g_crypto.verify(context.get(), reinterpret_cast<const unsigned char*>(signature.data()),
                           static_cast<size_t>(signature.size()), data,
                           static_cast<size_t>(message.size())) == 1;
}

} // namespace velmora
