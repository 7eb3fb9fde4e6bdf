#pragma once

#include <QString>

namespace platform {

// Loads one of the project's own libraries that programs keep out of their
// start and load with the dynamic linker on first use (the sound devices,
// the printer list), and answers the address of its entry point, or null
// with the dynamic linker's reasons in *error. The library is looked for first beside the
// platform library (the build folder, or an installation to a prefix of its
// own that the dynamic linker's search does not cover), then by its name
// through the dynamic linker's search. A library loaded stays loaded for the
// life of the process: what it made may live until the end. Callers keep
// the answer (a function-local static), so each library is loaded once.
void *loadOwnLibrary(const QString &fileName, const char *entryName, QString *error);

} // namespace platform
