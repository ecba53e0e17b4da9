#pragma once

#include "Clock.h"
#include "FileDialogs.h"
#include "ProgramOptions.h"
#include "Prompt.h"
#include "RecentFiles.h"
#include "RunState.h"
#include "Settings.h"
#include "WindowStack.h"

namespace app {

// What the windows and routines of the program work with, owned by Main and
// handed down, so each test can put its own doubles in.
struct Services
{
    RunState &state;
    WindowStack &windows;
    ProgramOptions &options;
    RecentFiles &recent;
    Settings &settings;
    platform::Prompt &prompt;
    platform::FileDialogs &fileDialogs;
    const platform::Clock &clock;
};

} // namespace app
