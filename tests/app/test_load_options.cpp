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
    void recentFilesReadAfterOptions();
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
    RecentFiles recent;
    QString filePath;
    QCOMPARE(app::LoadOptions(settings, options, language, prompt, QStringLiteral("/opt/v"), recent,
                              filePath),
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

void TestLoadOptions::recentFilesReadAfterOptions()
{
    // The list is read with the history size just loaded, so a smaller stored
    // size cuts the list.
    Settings settings;
    SettingsComponent &s = settings.OpenOptionSettings();
    s.SaveInteger(QStringLiteral("HistorySize"), 2);
    s.SaveString(QStringLiteral("File-1"), QStringLiteral("/a/one.VLM"));
    s.SaveString(QStringLiteral("File-2"), QStringLiteral("/a/two.VLM"));
    s.SaveString(QStringLiteral("File-3"), QStringLiteral("/a/three.VLM"));
    s.SaveString(QStringLiteral("FileName"), QStringLiteral("/a/two.VLM"));
    settings.ReleaseOptionSettings();

    ProgramOptions options;
    LanguageRegistry registry;
    Language language(registry);
    platform::ScriptedPrompt prompt;
    RecentFiles recent;
    QString filePath;
    QVERIFY(app::LoadOptions(settings, options, language, prompt, QStringLiteral("/opt/v"), recent,
                             filePath));
    QCOMPARE(recent.paths(), (QStringList{"/a/one.VLM", "/a/two.VLM"}));
    QCOMPARE(filePath, QStringLiteral("/a/two.VLM"));
}

QTEST_GUILESS_MAIN(TestLoadOptions)
#include "test_load_options.moc"
