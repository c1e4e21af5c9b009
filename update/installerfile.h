#pragma once

#include <QString>

// The downloaded installer: its name in the update folder and the test that it is whole.
namespace velmora {

// "setup" with the extension of the URL's file name ("setup.deb", "setup.AppImage"); plain
// "setup" when the name has none, or one that is not a short run of letters and digits, so a
// crafted address cannot name a file elsewhere.
QString installerFileName(const QString& url);

// True when the file is what the manifest announced: its size equals expectedSize when that is
// above 0, and its SHA-256 equals expectedSha256 (hexadecimal, any case) when that is not empty.
bool installerMatches(const QString& path, qint64 expectedSize, const QString& expectedSha256);

} // namespace velmora
