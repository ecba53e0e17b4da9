// The about box and tip window as a user meets them, and the system information tool.

#include "DialogChecks.h"
#include "frmAbout.h"
#include "frmTip.h"
#include "Shell.h"
#include "SystemInfo.h"
#include "TestServices.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>

using platform::PromptRequest;
using Registry = QMap<QString, QString>;

// A machine with these registry values ("key|value" -> data), files and programs.
about::SystemInfoLookup machine(const Registry &registry, const QStringList &files,
                                const QStringList &programs)
{
    return {[registry](const QString &key, const QString &value) {
                return registry.value(key + '|' + value);
            },
            [files](const QString &path) { return files.contains(path); },
            [programs](const QString &program) {
                return programs.contains(program) ? "/usr/bin/" + program : QString();
            }};
}

class TestAbout : public QObject
{
    Q_OBJECT

    struct Env
    {
        WidgetMainWindow main;
        TestServices t;
        platform::RecordingShell *shell = nullptr;
        std::unique_ptr<frmAbout> box(const QStringList &programs = {})
        {
            auto recording = std::make_unique<platform::RecordingShell>();
            shell = recording.get();
            auto w = std::make_unique<frmAbout>(t.services, QVersionNumber(1, 2, 3),
                                                std::move(recording), machine({}, {}, programs));
            w->View();
            return w;
        }
        // The ViewTips value a fresh start would read: "unset" when none was written.
        QString storedViewTips()
        {
            Settings settings;
            SettingsComponent &s = settings.OpenOptionSettings();
            const bool on = s.GetBoolean("ViewTips", true);
            return on != s.GetBoolean("ViewTips", false) ? "unset" : on ? "true" : "false";
        }
    };
    std::unique_ptr<Env> e;

private Q_SLOTS:
    void init()
    {
        QSettings("Quorvan", "VLM").clear();
        e = std::make_unique<Env>();
        e->main.widget.show();
        e->t.state.setCurrentMainWindow(&e->main);
    }
    void aboutBox();
    void stack_data();
    void stack();
    void tip();
    void showSelfDeleting();
    void windowsTool();
};

void TestAbout::aboutBox()
{
    const std::unique_ptr<frmAbout> w = e->box();
    QCOMPARE(w->windowTitle(), "About Vellumor");
    QCOMPARE(w->lblTitle->text(), "Vellumor");
    QVERIFY(w->lblTitle->font().bold() &&
            w->lblTitle->font().pointSizeF() > w->lblVersion->font().pointSizeF());
    QCOMPARE(w->lblVersion->text(), "Version 1.2.3");
    QCOMPARE(about::VersionText(QVersionNumber(2, 5)), "Version 2.5.0");
    QVERIFY(w->lbCopyright->text().contains("Quorvan") && !w->picIcon->pixmap().isNull());
    QVERIFY(w->Text1->isReadOnly() && w->Text1->toPlainText().contains("without warranty"));
    QCOMPARE(w->Text1->height(), w->Text1->fontMetrics().lineSpacing() * 9); // nine lines show
    QVERIFY(w->lblCredits->text().contains("Silk icon set 1.3 by Mark James"));
    QVERIFY(!w->frSpecial->isVisible());
    // The links go through the program's shell, not Qt's own opener.
    for (QLabel *link : {w->URLwww, w->URLmail}) {
        QVERIFY(link->isVisible() && !link->openExternalLinks());
        Q_EMIT link->linkActivated(link->text().section('"', 1, 1));
    }
    QCOMPARE(e->shell->opened,
             (QStringList{"https://vellumor.quorvan.example/", "mailto:vellumor@quorvan.example"}));
    QTest::keyClick(w.get(), Qt::Key_A);
    QVERIFY(w->isVisible());
    QVERIFY(w->URLwww->text().contains(">vellumor.quorvan.example<") &&
            w->URLmail->text().contains(">vellumor@quorvan.example<"));

    // System Info starts the best tool installed, or says there is none; a tool that
    // will not start is not reported. The box stays open either way.
    QTest::mouseClick(w->cmdSysInfo, Qt::LeftButton);
    QCOMPARE(e->t.prompt.asked,
             (QList<PromptRequest>{{"System Information Is Unavailable At This Time", "",
                                    platform::PromptIcon::None, platform::PromptButtons::Ok}}));
    const auto withTools = e->box({"gnome-system-monitor", "kinfocenter", "hardinfo", "top"});
    e->shell->opens = false;
    QTest::mouseClick(withTools->cmdSysInfo, Qt::LeftButton);
    QCOMPARE(e->shell->opened, QStringList{"/usr/bin/hardinfo"});
    QVERIFY(w->isVisible() && withTools->isVisible() && e->t.prompt.asked.size() == 1);
    const auto fresh = e->box(); // Enter closes it and follows no link
    QTest::keyClick(fresh.get(), Qt::Key_Return);
    QVERIFY(!fresh->isVisible() && e->shell->opened.isEmpty());
}

void TestAbout::stack_data()
{
    QTest::addColumn<bool>("tip");
    QTest::addColumn<QString>("how");
    for (const bool tip : {false, true}) {
        for (const char *how : {"cmdOK", "esc", "enter", "close"}) {
            QTest::addRow("%s, %s", tip ? "tip" : "about", how) << tip << QString(how);
        }
    }
}

void TestAbout::stack()
{
    QFETCH(bool, tip);
    QFETCH(QString, how);
    const auto open = [this, tip]() -> QWidget * {
        if (tip) {
            return about::ShowTip(e->t.services).data();
        }
        return about::ShowAbout(e->t.services).data();
    };
    DialogRow row{open, how};
    row.refresh = false; // neither window changes anything to show again
    checkDialog(e->t, e->main.widget, row);
    QVERIFY(e->main.calls.isEmpty());
}

void TestAbout::tip()
{
    frmTip tip(e->t.services);
    QVERIFY(tip.View());
    QCOMPARE(tip.windowTitle(), "Tip of the Day");
    QCOMPARE(tip.Label1->text(), "Did you know...");
    QVERIFY(tip.chkLoadTipsAtStartup->isChecked());
    QCOMPARE(e->storedViewTips(), "unset"); // checked by the window itself: nothing written
    // The program has no tips: Next Tip leaves the text as it is.
    QTest::mouseClick(tip.cmdNextTip, Qt::LeftButton);
    tip.DisplayCurrentTip();
    QCOMPARE(tip.lblTipText->text(), about::NoTips);
    // The check box writes the stored option at once, leaving this run's options alone.
    const QPoint box(6, tip.chkLoadTipsAtStartup->height() / 2);
    QTest::mouseClick(tip.chkLoadTipsAtStartup, Qt::LeftButton, {}, box);
    QCOMPARE(e->storedViewTips(), "false");
    QTest::mouseClick(tip.chkLoadTipsAtStartup, Qt::LeftButton, {}, box);
    QCOMPARE(e->storedViewTips(), "true");
    QVERIFY(tip.isVisible() && e->t.options.ViewTips);
    QTest::keyClick(&tip, Qt::Key_A); // not a key of the window: it stays
    QVERIFY(tip.isVisible());
    QTest::keyClick(&tip, Qt::Key_Return); // closes rather than drawing a tip
    QVERIFY(!tip.isVisible() && tip.lblTipText->text() == about::NoTips);
}

void TestAbout::showSelfDeleting()
{
    // With tips turned off the tip window never shows and leaves nothing behind.
    e->t.options.ViewTips = false;
    const QPointer<frmTip> off = about::ShowTip(e->t.services);
    QVERIFY(e->t.windows.isEmpty() &&
            e->t.settings.OpenLayoutSettings().GetInteger("frmTip-State", -1) == -1);
    e->t.options.ViewTips = true;
    QCoreApplication::setApplicationVersion("4.5.6");
    const QPointer<frmAbout> box = about::ShowAbout(e->t.services);
    const QPointer<frmTip> tip = about::ShowTip(e->t.services);
    QVERIFY(box && box->isVisible() && tip && tip->isVisible());
    QCOMPARE(box->lblVersion->text(), "Version 4.5.6");
    tip->close();
    box->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(box.isNull() && tip.isNull() && off.isNull());
    QVERIFY(e->t.windows.isEmpty() && e->main.widget.isEnabled());
}

void TestAbout::windowsTool()
{
    // Windows keeps the tool's path, or else its folder, in the registry.
    const QString path = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH", dir = "C:\\MSInfo",
                  inDir = "SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO",
                  tool = dir + "\\MSINFO32.EXE";
    QCOMPARE(about::WindowsSystemInfoTool(machine({{path, "C:\\x.exe"}, {inDir, dir}}, {}, {})),
             "C:\\x.exe");
    QCOMPARE(about::WindowsSystemInfoTool(machine({{inDir, dir}}, {tool}, {})), tool);
    QCOMPARE(about::WindowsSystemInfoTool(machine({{inDir, dir}}, {}, {})), "");
    QCOMPARE(about::WindowsSystemInfoTool(machine({}, {tool}, {"msinfo32"})), "");
}

QTEST_MAIN(TestAbout)
#include "test_about.moc"
