#include "LoadOptions.h"

namespace app {

bool LoadOptions(Settings &settings, ProgramOptions &options, Language &language,
                 platform::Prompt &prompt, const QString &programFolder, RecentFiles &recent,
                 QString &filePath)
{
    ReadOptions(settings, options, programFolder);
    if (!language.LoadLanguage(options.Language)) {
        settings.ReleaseOptionSettings();
        prompt.ask(LanguageMissingText, platform::PromptButtons::Ok, platform::PromptIcon::Critical,
                   QStringLiteral("VLM"));
        return false;
    }
    LoadRecentFiles(*settings.OptionSettings, options.HistorySize, recent, filePath);
    settings.ReleaseOptionSettings();
    return true;
}

} // namespace app
