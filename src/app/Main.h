#pragma once

#include <QString>

namespace app {

// The program: one instance per user (a later start hands its command line
// over and ends), options and language, the store and the start file, then
// the main loop until the user leaves. Answers the exit status.
int Main(const QString &commandLine);

} // namespace app
