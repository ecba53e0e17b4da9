#include "LoadOptions.h"

#include <QSettings>
#include <QTest>

using platform::PromptRequest;

class TestLoadOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void languageComponent_data();
    void languageComponent();
};

void TestLoadOptions::init()
{
    // Each row starts from empty settings.
    QSettings(QStringLiteral("Quorvan"), QStringLiteral("VLM")).clear();
}

void TestLoadOptions::languageComponent_data()
{
    QTest::addColumn<QString>("stored"); // "" leaves the option unset
    QTest::addColumn<bool>("starts");
    QTest::newRow("first start") << "" << true;
    QTest::newRow("English") << "ENG" << true;
    QTest::newRow("code in other case") << "eng" << true;
    QTest::newRow("not installed") << "ITA" << false;
    QTest::newRow("blank") << " " << false;
}

void TestLoadOptions::languageComponent()
{
    QFETCH(QString, stored);
    QFETCH(bool, starts);
    Settings settings;
    if (!stored.isEmpty()) {
        settings.OpenOptionSettings().SaveString(QStringLiteral("Language"), stored);
        settings.ReleaseOptionSettings();
    }
    ProgramOptions options;
    LanguageRegistry registry;
    Language language(registry);
    platform::ScriptedPrompt prompt;
    QCOMPARE(app::LoadOptions(settings, options, language, prompt, QStringLiteral("/opt/v")),
             starts);
    QVERIFY(settings.OptionSettings == nullptr);
    if (starts) {
        QVERIFY(prompt.asked.isEmpty());
        QVERIFY(language.LanguageComponent() != nullptr);
        QCOMPARE(options.Path, QStringLiteral("/opt/v"));
    } else {
        const PromptRequest expected{QStringLiteral("Language DLL Not Found!"),
                                     QStringLiteral("VLM"), platform::PromptIcon::Critical,
                                     platform::PromptButtons::Ok};
        QCOMPARE(prompt.asked, QList<PromptRequest>{expected});
        QVERIFY(language.LanguageComponent() == nullptr);
    }
}

QTEST_GUILESS_MAIN(TestLoadOptions)
#include "test_load_options.moc"
