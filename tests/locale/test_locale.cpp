// The language component: built-in English, unknown codes, replacement.

#include "Localize.h"

#include <QTest>

namespace {

class Marked final : public clsLocalize
{
public:
    QString GetResourceString(int id) const override { return QStringLiteral("it-%1").arg(id); }
};

} // namespace

class TestLocale : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void identifierIsCodeLocaleClass();
    void loadLanguage();
};

void TestLocale::identifierIsCodeLocaleClass()
{
    QCOMPARE(LanguageRegistry::programmaticId(QStringLiteral("ENG")),
             QStringLiteral("ENGLocale.clsLocalize"));
}

void TestLocale::loadLanguage()
{
    LanguageRegistry registry;
    Language language(registry);
    QVERIFY(language.LanguageComponent() == nullptr);
    QVERIFY(language.LoadLanguage(QStringLiteral("ENG")));
    QCOMPARE(language.code(), QStringLiteral("ENG"));
    QVERIFY(language.LanguageComponent() != nullptr);
    QVERIFY(language.LoadLanguage(QStringLiteral("eng"))); // identifiers ignore case

    QVERIFY(!language.LoadLanguage(QStringLiteral("ITA")));
    QVERIFY(language.LanguageComponent() == nullptr); // the old one is released too
    QVERIFY(!language.LoadLanguage(QString()));

    registry.add(QStringLiteral("ITALocale.clsLocalize"),
                 [] { return std::make_unique<Marked>(); });
    QVERIFY(language.LoadLanguage(QStringLiteral("ITA")));
    QCOMPARE(language.LanguageComponent()->GetResourceString(7), QStringLiteral("it-7"));
}

QTEST_GUILESS_MAIN(TestLocale)
#include "test_locale.moc"
