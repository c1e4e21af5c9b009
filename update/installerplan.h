#pragma once

#include "platform/net/filecheck.h"
#include "platform/profile/profile.h"

#include <QByteArray>
#include <QString>

#include <variant>

// The installer that a manifest offers, as this program fetches, checks and starts it. Nothing
// starts that was not verified: the manifest must give the installer's SHA-256 digest and, when
// the build carries an update signing key, the key's signature over it.
namespace velmora {

// Why an installer download ends without a start.
enum class UpdateFailure {
    DownloadFailed,    // no whole transfer, or none that this program would make
    NotVerified,       // no digest or signature to check it by, or one that does not match
    StartFailed,       // verified, but the system or the desktop would not start it
    UnusableInstaller, // a kind of file this system does not start
};

// Without "Size 1" the transfer stops here, so an endless answer ends.
inline constexpr qint64 InstallerSizeCap = qint64(512) * 1024 * 1024;

struct InstallerPlan {
    QString url;
    QString fileName; // in the update folder: "setup" with the kind's extension
    qint64 maxBytes = InstallerSizeCap;
    FileExpectation expected;
};

// What the manifest's "Info setup" asks for, fetched from manifestUrl, checked against
// signingKey (32 raw bytes; empty when the build has none): the plan, or why no download may
// start. The address must be http or https, and https when the manifest came over https; the
// kind must be one this system starts (".deb", ".AppImage", ".run"); a 64-digit hexadecimal
// "SHA-256" is required and, with a key, a base64 "Signature" of 64 bytes.
std::variant<InstallerPlan, UpdateFailure> planInstaller(const ProfileFile& manifest,
                                                         const QString& manifestUrl,
                                                         const QByteArray& signingKey);

// The public key installers must be signed with, 32 raw bytes: the build's (the CMake cache
// variable VELMORA_UPDATE_SIGNING_KEY, in base64), unless a test replaced it; empty when there is
// none.
QByteArray updateSigningKey();
// Replaces the build's key with these 32 raw bytes (empty for none); for tests, which sign with a
// key of their own.
void setUpdateSigningKey(const QByteArray& key);

} // namespace velmora
