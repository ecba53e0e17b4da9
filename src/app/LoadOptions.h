#pragma once

#include "Localize.h"
#include "ProgramOptions.h"
#include "Prompt.h"
#include "RecentFiles.h"
#include "Settings.h"

namespace app {

// The text shown when the language component of the "Language" option
// cannot be created; the program then ends before any window exists.
inline const QString LanguageMissingText = QStringLiteral("Language DLL Not Found!");

// Reads every option, creates the language component, then reads the
// recent-file list and the last open file (into filePath). False, after
// telling the user, when the component cannot be created: the caller ends
// the program. OptionSettings is released either way.
bool LoadOptions(Settings &settings, ProgramOptions &options, Language &language,
                 platform::Prompt &prompt, const QString &programFolder, RecentFiles &recent,
                 QString &filePath);

} // namespace app
