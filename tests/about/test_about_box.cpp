// The about box as a user sees it: its caption and texts, the links, the
// system information button with and without a tool, and the window stack
// around it.

#include "AboutFixture.h"
#include "frmAbout.h"
#include "Shell.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>

using platform::PromptButtons;
using platform::PromptIcon;
using platform::PromptRequest;

namespace {

const PromptRequest Unavailable{QStringLiteral("System Information Is Unavailable At This Time"),
                                QString(), PromptIcon::None, PromptButtons::Ok};

// The target of the one link of a label.
QString hrefOf(const QLabel &label)
{
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
    return href.match(label.text()).captured(1);
}

// A machine with the given programs installed and nothing in its registry.
about::SystemInfoLookup machineWith(const QStringList &installed)
{
    about::SystemInfoLookup lookup;
    lookup.readMachineValue = [](const QString &, const QString &) { return QString(); };
    lookup.fileExists = [](const QString &) { return false; };
    lookup.findExecutable = [installed](const QString &program) {
        return installed.contains(program) ? QStringLiteral("/opt/bin/") + program : QString();
    };
    return lookup;
}

struct AboutBox
{
    platform::RecordingShell *shell = nullptr;
    std::unique_ptr<frmAbout> window;

    AboutBox(const app::Services &services, const QVersionNumber &version,
             const QStringList &installed = {})
    {
        auto recording = std::make_unique<platform::RecordingShell>();
        shell = recording.get();
        window = std::make_unique<frmAbout>(services, version, std::move(recording),
                                            machineWith(installed));
        window->View();
    }
};

} // namespace

class TestAboutBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void texts_data();
    void texts();
    void notices();
    void specialEditionHidden();
    void links_data();
    void links();
    void systemInfo_data();
    void systemInfo();
    void stack_data();
    void stack();
    void showAboutDeletesItself();
    void look();
};

void TestAboutBox::init()
{
    abouttest::clearSavedSettings();
}

void TestAboutBox::texts_data()
{
    QTest::addColumn<QVersionNumber>("version");
    QTest::addColumn<QString>("versionText");

    QTest::newRow("1.2.3") << QVersionNumber(1, 2, 3) << "Version 1.2.3";
    QTest::newRow("first release") << QVersionNumber(1, 0, 0) << "Version 1.0.0";
    QTest::newRow("no revision given") << QVersionNumber(2, 5) << "Version 2.5.0";
    QTest::newRow("two digits") << QVersionNumber(3, 10, 12) << "Version 3.10.12";
}

void TestAboutBox::texts()
{
    QFETCH(QVersionNumber, version);
    QFETCH(QString, versionText);

    abouttest::Fixture f;
    AboutBox box(f.t.services, version);
    frmAbout &w = *box.window;
    QCOMPARE(w.windowTitle(), QStringLiteral("About Vellumor"));
    QCOMPARE(w.lblTitle->text(), QStringLiteral("Vellumor"));
    QCOMPARE(w.lblVersion->text(), versionText);
    QCOMPARE(about::VersionText(version), versionText);
    QCOMPARE(w.cmdOK->text(), QStringLiteral("OK"));
    QCOMPARE(w.cmdSysInfo->text(), QStringLiteral("&System Info..."));
    QVERIFY(!w.picIcon->pixmap().isNull());
}

void TestAboutBox::notices()
{
    abouttest::Fixture f;
    AboutBox box(f.t.services, QVersionNumber(1, 0, 0));
    frmAbout &w = *box.window;
    QVERIFY(w.lbCopyright->text().contains(QStringLiteral("Quorvan")));
    QVERIFY(w.Text1->isReadOnly());
    const QString disclaimer = w.Text1->toPlainText();
    for (const char *part : {"beta software", "without warranty", "liable", "advertising",
                             "copy and give away", "no charge"}) {
        QVERIFY2(disclaimer.contains(QLatin1String(part)), part);
    }
    QVERIFY(w.lblCredits->isVisible());
    QVERIFY(w.lblCredits->text().contains(QStringLiteral("Silk icon set 1.3 by Mark James")));
    QVERIFY(w.lblCredits->text().contains(QStringLiteral("CC BY")));
    QVERIFY(
        w.lblCredits->text().contains(QStringLiteral("Program icon drawn by the Vellumor team")));
}

void TestAboutBox::specialEditionHidden()
{
    abouttest::Fixture f;
    AboutBox box(f.t.services, QVersionNumber(1, 0, 0));
    frmAbout &w = *box.window;
    QVERIFY(w.isVisible());
    QVERIFY(!w.frSpecial->isVisible());
    QCOMPARE(w.lblSpecial->text(), QStringLiteral("Special Edition for\nOrbitalis"));
    // The links sit where the banner would be, right under the disclaimer.
    const int gap = w.URLwww->geometry().top() - w.Text1->geometry().bottom();
    QVERIFY2(gap < w.frSpecial->sizeHint().height(), qPrintable(QString::number(gap)));
    // And the window is no taller than what it shows.
    QCOMPARE(w.height(), w.sizeHint().height());
}

void TestAboutBox::links_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("target");

    QTest::newRow("home page") << "URLwww"
                               << "https://vellumor.quorvan.example/";
    QTest::newRow("mail") << "URLmail"
                          << "mailto:vellumor@quorvan.example";
}

void TestAboutBox::links()
{
    QFETCH(QString, label);
    QFETCH(QString, target);

    abouttest::Fixture f;
    AboutBox box(f.t.services, QVersionNumber(1, 0, 0));
    auto *link = box.window->findChild<QLabel *>(label);
    QVERIFY(link != nullptr);
    QVERIFY(link->isVisible());
    QVERIFY(!link->openExternalLinks());
    QCOMPARE(hrefOf(*link), target);
    Q_EMIT link->linkActivated(hrefOf(*link));
    QCOMPARE(box.shell->opened, QStringList{target});
    QVERIFY(f.t.prompt.asked.isEmpty());
}

void TestAboutBox::systemInfo_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<QList<PromptRequest>>("asked");

    QTest::newRow("tool found") << QStringList{"kinfocenter"} << QStringList{"/opt/bin/kinfocenter"}
                                << QList<PromptRequest>();
    QTest::newRow("no tool") << QStringList() << QStringList() << QList<PromptRequest>{Unavailable};
}

void TestAboutBox::systemInfo()
{
    QFETCH(QStringList, installed);
    QFETCH(QStringList, opened);
    QFETCH(QList<PromptRequest>, asked);

    abouttest::Fixture f;
    AboutBox box(f.t.services, QVersionNumber(1, 0, 0), installed);
    QTest::mouseClick(box.window->cmdSysInfo, Qt::LeftButton);
    QCOMPARE(box.shell->opened, opened);
    QCOMPARE(f.t.prompt.asked, asked);
    // The about box stays open either way.
    QVERIFY(box.window->isVisible());
    QCOMPARE(f.t.windows.top(), box.window.get());
}

void TestAboutBox::stack_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("OK button") << "ok";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("Enter") << "enter";
    QTest::newRow("window closed") << "close";
}

void TestAboutBox::stack()
{
    QFETCH(QString, how);

    abouttest::Fixture f;
    AboutBox box(f.t.services, QVersionNumber(1, 0, 0));
    frmAbout &w = *box.window;
    QCOMPARE(f.t.windows.count(), 1);
    QCOMPARE(f.t.windows.top(), &w);
    QVERIFY(!f.main.widget.isEnabled());

    if (how == QLatin1String("ok")) {
        QTest::mouseClick(w.cmdOK, Qt::LeftButton);
    } else if (how == QLatin1String("escape")) {
        QTest::keyClick(&w, Qt::Key_Escape);
    } else if (how == QLatin1String("enter")) {
        QTest::keyClick(&w, Qt::Key_Return);
    } else {
        w.close();
    }
    QVERIFY(!w.isVisible());
    QVERIFY(f.t.windows.isEmpty());
    QVERIFY(f.main.widget.isEnabled());
    QVERIFY(!f.t.state.RefreshRequested());
    QVERIFY(!f.t.state.MenuOnlyRefresh());
    QCOMPARE(f.t.state.RefreshValue(), 0);
    QVERIFY(f.main.calls.isEmpty());
    QVERIFY(box.shell->opened.isEmpty());
}

void TestAboutBox::showAboutDeletesItself()
{
    abouttest::Fixture f;
    QCoreApplication::setApplicationVersion(QStringLiteral("4.5.6"));
    const QPointer<frmAbout> shown = about::ShowAbout(f.t.services);
    QVERIFY(!shown.isNull());
    QVERIFY(shown->isVisible());
    QCOMPARE(shown->lblVersion->text(), QStringLiteral("Version 4.5.6"));
    QVERIFY(!f.main.widget.isEnabled());
    shown->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(shown.isNull());
    QVERIFY(f.t.windows.isEmpty());
    QVERIFY(f.main.widget.isEnabled());
    QVERIFY(!f.t.state.RefreshRequested());
}

void TestAboutBox::look()
{
    abouttest::Fixture f;
    AboutBox box(f.t.services, QVersionNumber(1, 2, 3));
    frmAbout &w = *box.window;
    // Every line of text is shown whole: nothing is squeezed below its size.
    for (QLabel *label : {w.lblTitle, w.lblVersion, w.lbCopyright, w.URLwww, w.URLmail}) {
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->objectName()));
        QVERIFY2(label->height() >= label->sizeHint().height(), qPrintable(label->objectName()));
    }
    QVERIFY(w.rect().contains(w.cmdOK->geometry()));
    QVERIFY(w.rect().contains(w.cmdSysInfo->geometry()));
    abouttest::saveLook(w, QStringLiteral("about"));
}

QTEST_MAIN(TestAboutBox)
#include "test_about_box.moc"
