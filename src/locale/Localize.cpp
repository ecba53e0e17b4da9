#include "Localize.h"

namespace {

class EnglishLocalize final : public clsLocalize
{
public:
    // The windows carry their English texts themselves; nothing is looked up.
    QString GetResourceString(int) const override { return QString(); }
};

} // namespace

LanguageRegistry::LanguageRegistry()
{
    add(programmaticId(QStringLiteral("ENG")), [] { return std::make_unique<EnglishLocalize>(); });
}

void LanguageRegistry::add(const QString &id, Factory factory)
{
    m_factories[id.toLower()] = std::move(factory);
}

std::unique_ptr<clsLocalize> LanguageRegistry::create(const QString &id) const
{
    // Programmatic identifiers are case-insensitive.
    const auto it = m_factories.find(id.toLower());
    return it == m_factories.end() ? nullptr : it->second();
}

QString LanguageRegistry::programmaticId(const QString &languageCode)
{
    return languageCode + QStringLiteral("Locale") + QStringLiteral(".clsLocalize");
}

bool Language::LoadLanguage(const QString &code)
{
    m_component.reset();
    m_component = m_registry.create(LanguageRegistry::programmaticId(code));
    if (!m_component) {
        return false;
    }
    m_code = code;
    return true;
}
