#pragma once

#include "platform/profile/profile.h"

#include <QString>
#include <QStringList>

// The update manifest "update.ums" and where it is fetched from. Every reader is a plain
// function over the parsed file, so the rules are testable without a server or a window.
namespace velmora::manifest {

// This program's version 3.2 on the manifest's scale.
inline constexpr int ProgramVersion = 32;

inline constexpr const char* FileName = "update.ums";
inline constexpr const char* ServerPath = "/program/velmora/update.ums";

// A feature list is read no further than this many lines, unless the section has more "Line N"
// keys than that, so an absurd "Quantity of lines" neither freezes nor fills the memory.
inline constexpr int FeatureLineCap = 1000;

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
// "Info setup"/"Signature": the release key's Ed25519 signature over the installer, in base64;
// empty when the manifest has none.
QString installerSignature(const ProfileFile& file);

// The feature section of a language name ("Info new version en" for "English"); empty for a
// name that is not one of the three.
QString featureSection(const QString& languageName);
// The feature lines for the language: "Line 1" … "Line N" of its section, N its "Quantity of
// lines" (capped as above); a missing key gives an empty line.
QStringList featureLines(const ProfileFile& file, const QString& languageName);

} // namespace velmora::manifest
