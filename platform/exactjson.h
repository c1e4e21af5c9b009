#pragma once

#include <QByteArray>
#include <QString>

namespace velmora {

// What in a JSON text that QJsonDocument has accepted would come back changed from being read
// and written again, described for a log line; empty when nothing would. Found: containers
// nested deeper than maxDepth (the document itself is level 1), a name twice in one object (the
// reader keeps only the last) and a number that would be written back as another value (more
// digits than a double holds, such as 123456789012345678901234567890), and a string starting with
// a byte order mark (the reader drops it).
QString whatWouldNotRoundTrip(const QByteArray& json, int maxDepth);

} // namespace velmora
