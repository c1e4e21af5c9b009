#pragma once

#include "platform/net/filecheck.h"
#include "platform/profile/profile.h"

#include <QByteArray>
#include <QString>

#include <variant>

// The installer that a manifest offers, as this program fetches, checks and starts it. Nothing
// starts that was not verified: the manifest (signed whole, when the build carries an update
// signing key) must give the installer's SHA-256 digest, which the downloaded bytes must match.
namespace velmora {

// Why an installer download ends without a start.
enum class UpdateFailure {
    ManifestRefused,   // the manifest does not vouch for a newer installer: nothing downloaded
    AddressRefused,    // an address this program does not fetch from: no request made
    DownloadFailed,    // no whole transfer
    NotVerified,       // downloaded, but not the bytes the manifest names
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

// What the manifest's "Info setup" asks for, the manifest as readManifest took it from
// manifestUrl: the plan, or why no download may start. The offered version must be above this
// program's; the address must be http or https, and https when the manifest came over https; the
// kind must be one this system starts (".deb", ".AppImage", ".run"); a 64-digit hexadecimal
// "SHA-256" is required.
std::variant<InstallerPlan, UpdateFailure> planInstaller(const ProfileFile& manifest,
                                                         const QString& manifestUrl);

// The public key manifests must be signed with, 32 raw bytes: the build's (the CMake cache
// variable VELMORA_UPDATE_SIGNING_KEY, in base64), unless a test replaced it; empty when there is
// none.
QByteArray updateSigningKey();
// The build's key alone, whatever a test set.
QByteArray buildUpdateSigningKey();
// Replaces the build's key with these 32 raw bytes (empty for none); for tests, which sign with a
// key of their own.
void setUpdateSigningKey(const QByteArray& key);

} // namespace velmora
