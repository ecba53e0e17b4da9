#include "Settings.h"

Settings::Settings(Factory factory) : m_factory(std::move(factory)) {}

Settings::Factory Settings::defaultFactory()
{
    return [] { return std::make_unique<QtSettingsComponent>(); };
}

std::unique_ptr<SettingsComponent> Settings::open()
{
    auto component = m_factory();
    component->SetAppName(QStringLiteral("VLM"));
    component->SetVersion(QStringLiteral("1.0"));
    component->SetCompany(QStringLiteral("Quorvan"));
    return component;
}

SettingsComponent &Settings::OpenOptionSettings()
{
    OptionSettings = open();
    return *OptionSettings;
}

SettingsComponent &Settings::OpenLayoutSettings()
{
    LayoutSettings = open();
    return *LayoutSettings;
}
