#pragma once

#include "platform/base/version.h"
#include "platform/profile/profile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// The update manifest "update.ums" and where it is fetched from. Every reader is a plain
// function over the parsed file, so the rules are testable without a server or a window.
namespace velmora::manifest {

// This program's version on the manifest's scale.
inline constexpr int ProgramVersion = version::OnManifestScale;

inline constexpr const char* FileName = "update.ums";
inline constexpr const char* ServerPath = "/program/velmora/update.ums";

// A feature list is read no further than this many lines, so neither an absurd "Quantity of
// lines" nor a list of that many keys holds the dialog.
inline constexpr int FeatureLineCap = 1000;

// A signed manifest: its text, then a last section "[Manifest signature]" whose "Ed25519" key is
// the release key's signature, in base64, over every byte before that section's header line.
// The exact bytes are signed, not a form rebuilt from what was parsed: the program then reads
// only bytes the signature covers, whatever the reader makes of duplicate or oddly spelled
// sections, and the release tool needs no INI reader of its own to sign. "Info setup" carries
// "Expires", the UTC time (ISO 8601, "2027-01-10T12:00:00Z") after which the manifest is refused,
// so an old signed manifest cannot be served again for ever.
inline constexpr const char* SignatureSection = "Manifest signature";

// The manifest as this build takes it from the bytes: with a signing key (32 raw bytes), the
// signed part alone, when its signature by that key is good and it has not expired at `now`;
// without a key, the whole file as it is. None when it is refused.
std::optional<ProfileFile> readManifest(QByteArrayView bytes, const QByteArray& signingKey,
                                        const QDateTime& now);
// readManifest of the file at path (at most MaxManifestBytes of it; a longer file is refused),
// now.
std::optional<ProfileFile> loadManifest(const QString& path, const QByteArray& signingKey);

// The manifest is a few kilobytes; anything far larger is not one.
inline constexpr qint64 MaxManifestBytes = 1024 * 1024;

// "Info setup"/"Expires": the time the manifest expires; invalid when missing or unreadable.
QDateTime expiry(const ProfileFile& file);
// True when a signed manifest is no longer to be taken at `now`: its expiry is missing,
// unreadable or past.
bool expired(const ProfileFile& file, const QDateTime& now);

// The update server's base address: $VELMORA_UPDATE_SERVER when set, else the address compiled
// in. A base without a scheme is taken as https. Empty when neither names one: then this
// installation has no update service and never goes on the network.
QString serverBase();
// The manifest's full address on that server; empty without a server.
QString manifestUrl();

// "Info setup"/"Version 1": the offered version, 32 when missing or not an integer.
int offeredVersion(const ProfileFile& file);
// "Info setup"/"Version 2": the offered version as the user reads it.
QString offeredVersionText(const ProfileFile& file);
// "Info setup"/"Size 1": the installer's size in bytes, 0 when missing.
int installerSize(const ProfileFile& file);
// "Info setup"/"Size 2": the installer's size as the user reads it, without its unit.
QString installerSizeText(const ProfileFile& file);
// "Info setup"/"URL": the installer's address.
QString installerUrl(const ProfileFile& file);
// "Info setup"/"SHA-256": the installer's digest in hexadecimal; empty when the manifest has none.
QString installerSha256(const ProfileFile& file);

// The feature section of a language name ("Info new version en" for "English"); empty for a
// name that is not one of the three.
QString featureSection(const QString& languageName);
// The feature lines for the language: "Line 1" … "Line N" of its section, N its "Quantity of
// lines" (capped as above); a missing key gives an empty line.
QStringList featureLines(const ProfileFile& file, const QString& languageName);

} // namespace velmora::manifest
