#pragma once

#include "SettingsComponent.h"

#include <functional>
#include <memory>

// The two settings objects of the program: OptionSettings for the options and
// the recent files, LayoutSettings for window placement and the view state.
// Each Open* creates a fresh object (replacing an earlier one) configured for
// "Quorvan" / "VLM" / "1.0"; Release* lets it go, which writes its values out.
class Settings
{
public:
    using Factory = std::function<std::unique_ptr<SettingsComponent>()>;

    // Tests hand in a factory of recording components.
    explicit Settings(Factory factory = defaultFactory());

    SettingsComponent &OpenOptionSettings();
    SettingsComponent &OpenLayoutSettings();
    void ReleaseOptionSettings() { OptionSettings.reset(); }
    void ReleaseLayoutSettings() { LayoutSettings.reset(); }

    std::unique_ptr<SettingsComponent> OptionSettings;
    std::unique_ptr<SettingsComponent> LayoutSettings;

    static Factory defaultFactory();

private:
    std::unique_ptr<SettingsComponent> open();
    Factory m_factory;
};
