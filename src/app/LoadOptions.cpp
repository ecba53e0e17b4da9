#include "LoadOptions.h"

namespace app {

bool LoadOptions(Settings &settings, ProgramOptions &options, Language &language,
                 platform::Prompt &prompt, const QString &programFolder)
{
    ReadOptions(settings, options, programFolder);
    if (!language.LoadLanguage(options.Language)) {
        settings.ReleaseOptionSettings();
        prompt.ask(LanguageMissingText, platform::PromptButtons::Ok, platform::PromptIcon::Critical,
                   QStringLiteral("VLM"));
        return false;
    }
    // The recent-file list is read here too, while the settings are open.
    settings.ReleaseOptionSettings();
    return true;
}

} // namespace app
