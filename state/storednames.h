#pragma once

// Names by which the settings and files of earlier runs are found. They are part of what is
// stored, not of the version: a newer build that changed them would lose every user's settings and
// leave the update folder behind, so they stay as they are when the project's version changes.
namespace velmora::storednames {

// The program's key in the settings store.
inline constexpr const char16_t* ProgramKey = u"SOFTWARE\\Velmora\\3.2";
// The update folder, under the common application-data folder.
inline constexpr const char16_t* UpdateFolder = u"Velmora/Update for 3.2";

} // namespace velmora::storednames
