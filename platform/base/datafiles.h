#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// Where a data file is looked for first: the folder the program names it relative to.
enum class DataPlace { CurrentFolder, ProgramFolder };

// The places a data file (a language file, a picture, the licence) may be, in the order they
// are tried: the place the program names it in, then the program's own folder, then the
// installed data folder. The installed data folder is $VELMORA_DATA_DIR when set, else
// <prefix>/share/velmora beside the program's bin folder, so an installed program finds its
// data whatever its prefix and whatever the current folder.
QStringList dataFileCandidates(const QString& relativePath, DataPlace first);

// The first candidate that exists; empty when none does.
QString findDataFile(const QString& relativePath, DataPlace first);

// The installed data folder (see above).
QString installedDataFolder();

} // namespace velmora
