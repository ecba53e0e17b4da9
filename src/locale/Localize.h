#pragma once

#include <functional>
#include <map>
#include <memory>
#include <QString>

// A language component: the program's texts are fixed in its windows, but one
// component per language must exist and is kept for the whole run.
class clsLocalize
{
public:
    virtual ~clsLocalize() = default;
    // Text number id in this language; "" when there is none.
    virtual QString GetResourceString(int id) const = 0;
};

// Creates language components by their programmatic identifier, as
// "<code>Locale.clsLocalize". English is built in.
class LanguageRegistry
{
public:
    using Factory = std::function<std::unique_ptr<clsLocalize>()>;

    LanguageRegistry();
    void add(const QString &programmaticId, Factory factory);
    // nullptr when no component of that identifier exists.
    std::unique_ptr<clsLocalize> create(const QString &programmaticId) const;

    static QString programmaticId(const QString &languageCode);

private:
    std::map<QString, Factory> m_factories;
};

// The loaded component and its code.
class Language
{
public:
    explicit Language(const LanguageRegistry &registry) : m_registry(registry) {}

    // Releases the current component and creates the one for code; false
    // (and no component) when it cannot be created.
    bool LoadLanguage(const QString &code);
    QString code() const { return m_code; }
    const clsLocalize *LanguageComponent() const { return m_component.get(); }

private:
    const LanguageRegistry &m_registry;
    QString m_code;
    std::unique_ptr<clsLocalize> m_component;
};
