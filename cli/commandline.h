#pragma once

#include <QString>
#include <QStringList>

namespace velmora::cli {

// What a run prints and how it ends.
struct Outcome {
    int status = 0; // 0 done, 1 an input the window would refuse, 2 a wrong command line
    QString out;    // standard output
    QString err;    // standard error
};

inline constexpr int StatusDone = 0;
inline constexpr int StatusInputError = 1;
inline constexpr int StatusUsageError = 2;

// Runs velmora-cli on its arguments (the program name left out). Message texts come from the
// "Messages" table of the language the "Language" setting names, English when it names none;
// the caller loads nothing.
Outcome run(const QStringList& arguments);

// The text --help prints.
QString usage();

} // namespace velmora::cli
