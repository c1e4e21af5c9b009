#include "platform/net/filecheck.h"

#include <QFile>
#include <QLibrary>
#include <QLoggingCategory>

#include <openssl/evp.h>

#include <memory>
#include <mutex>
#include <type_traits>

namespace velmora {
namespace {

Q_LOGGING_CATEGORY(lcFileCheck, "velmora.filecheck")

// The pointers take their types from the library's own declarations.
struct Crypto {
    decltype(&::EVP_sha256) sha256 = nullptr;
    decltype(&::EVP_Digest) digest = nullptr;
    decltype(&::EVP_PKEY_new_raw_public_key) newRawPublicKey = nullptr;
    decltype(&::EVP_PKEY_free) freeKey = nullptr;
    decltype(&::EVP_MD_CTX_new) newContext = nullptr;
    decltype(&::EVP_MD_CTX_free) freeContext = nullptr;
    decltype(&::EVP_DigestVerifyInit) verifyInit = nullptr;
    decltype(&::EVP_DigestVerify) verify = nullptr;

    bool complete() const {
        return sha256 && digest && newRawPublicKey && freeKey && newContext && freeContext &&
               verifyInit && verify;
    }
};

std::once_flag g_openOnce;
Crypto g_crypto; // written once under g_openOnce, read-only afterwards

Crypto openCrypto() {
    // The library stays loaded for the rest of the process.
    QLibrary library(QStringLiteral("crypto"), 3);
    if (!library.load()) {
        qCWarning(lcFileCheck, "downloaded files cannot be checked: %s",
                  qUtf8Printable(library.errorString()));
        return {};
    }
    Crypto crypto;
    const auto resolve = [&library](auto& function, const char* name) {
        function =
            reinterpret_cast<std::remove_reference_t<decltype(function)>>(library.resolve(name));
    };
    resolve(crypto.sha256, "EVP_sha256");
    resolve(crypto.digest, "EVP_Digest");
    resolve(crypto.newRawPublicKey, "EVP_PKEY_new_raw_public_key");
    resolve(crypto.freeKey, "EVP_PKEY_free");
    resolve(crypto.newContext, "EVP_MD_CTX_new");
    resolve(crypto.freeContext, "EVP_MD_CTX_free");
    resolve(crypto.verifyInit, "EVP_DigestVerifyInit");
    resolve(crypto.verify, "EVP_DigestVerify");
    if (!crypto.complete()) {
        qCWarning(lcFileCheck, "downloaded files cannot be checked: %s lacks a function",
                  qUtf8Printable(library.fileName()));
        return {};
    }
    return crypto;
}

bool digestMatches(const unsigned char* data, qint64 size, const QByteArray& expected) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (g_crypto.digest(data, static_cast<size_t>(size), digest, &length, g_crypto.sha256(),
                        nullptr) != 1)
        return false;
    return QByteArrayView(reinterpret_cast<const char*>(digest), length) == expected;
}

bool signatureVerifies(const unsigned char* data, qint64 size, const QByteArray& publicKey,
                       const QByteArray& signature) {
    const auto keyBytes = reinterpret_cast<const unsigned char*>(publicKey.constData());
    const std::unique_ptr<EVP_PKEY, decltype(g_crypto.freeKey)> key(
        g_crypto.newRawPublicKey(EVP_PKEY_ED25519, nullptr, keyBytes, 32), g_crypto.freeKey);
    const std::unique_ptr<EVP_MD_CTX, decltype(g_crypto.freeContext)> context(g_crypto.newContext(),
                                                                              g_crypto.freeContext);
    if (!key || !context ||
        g_crypto.verifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1)
        return false;
    // Ed25519 signs the whole message at once: it is read from the file's mapping.
    return g_crypto.verify(
               context.get(), reinterpret_cast<const unsigned char*>(signature.constData()),
               static_cast<size_t>(signature.size()), data, static_cast<size_t>(size)) == 1;
}

} // namespace

bool fileMeetsExpectation(const QString& path, const FileExpectation& expected) {
    constexpr qsizetype DigestBytes = 32;
    constexpr qsizetype KeyBytes = 32;
    constexpr qsizetype SignatureBytes = 64;
    const bool signatureAsked = !expected.publicKey.isEmpty();
    if (expected.sha256.size() != DigestBytes ||
        (signatureAsked &&
         (expected.publicKey.size() != KeyBytes || expected.signature.size() != SignatureBytes)))
        return false;

    std::call_once(g_openOnce, [] { g_crypto = openCrypto(); });
    if (!g_crypto.complete())
        return false;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    if (expected.size >= 0 && size != expected.size)
        return false;
    // The file is read through one mapping for both checks; an empty file has nothing to map.
    static const unsigned char nothing = 0;
    const unsigned char* data = size > 0 ? file.map(0, size) : &nothing;
    if (!data)
        return false;
    return digestMatches(data, size, expected.sha256) &&
           (!signatureAsked ||
            signatureVerifies(data, size, expected.publicKey, expected.signature));
}

} // namespace velmora
