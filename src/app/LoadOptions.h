#pragma once

#include "Localize.h"
#include "ProgramOptions.h"
#include "Prompt.h"
#include "Settings.h"

namespace app {

// The text shown when the language component of the "Language" option
// cannot be created; the program then ends before any window exists.
inline const QString LanguageMissingText = QStringLiteral("Language DLL Not Found!");

// Reads every option, then creates the language component. False, after
// telling the user, when the component cannot be created: the caller ends
// the program. OptionSettings is released either way.
bool LoadOptions(Settings &settings, ProgramOptions &options, Language &language,
                 platform::Prompt &prompt, const QString &programFolder);

} // namespace app
