// Under Xvfb, into another program's field: keystrokes arrive exactly, also what the keymap
// lacks or with a second layout locked on, and into the window remembered before.

#include "KeyTyper.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <X11/XKBlib.h>

namespace {

// Starts the target window and waits until it has the focus.
bool startTarget(QProcess &target)
{
    target.start(VELLUMOR_TYPE_TARGET, {});
    return target.waitForReadyRead(10000) && target.readLine().trimmed() == "ready";
}

QString received(QProcess &target)
{
    target.waitForFinished(10000);
    return QByteArray::fromHex(target.readAllStandardOutput().trimmed().mid(5));
}

} // namespace

class TestKeyTyperX11 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void typesExactly_data();
    void typesExactly();
    void typesIntoTheRememberedWindow_data();
    void typesIntoTheRememberedWindow();
};

void TestKeyTyperX11::typesExactly_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<int>("group"); // the layout's group locked on, from 0
    QTest::addColumn<QString>("notation");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, const char *layout, int group, const QString &notation,
                        const QString &expected) {
        QTest::newRow(name) << layout << group << notation << expected;
    };
    row("us letters and digits", "us", 0, "Hello World 0123456789", "Hello World 0123456789");
    row("us punctuation", "us", 0, "!@#$&*_-=[];':\",./<>?`|\\{+}{^}{%}{~}{(}{)}{{}{}}",
        "!@#$&*_-=[];':\",./<>?`|\\+^%~(){}");
    row("us characters not on the keymap", "us", 0, "äöüß€✓Ωπ", "äöüß€✓Ωπ");
    row("named keys", "us", 0,
        "ab{LEFT 2}x{END}y{HOME}{DEL}{RIGHT}{BS}z%{F2}q{UP}{DOWN}{PGUP}{PGDN}{INS}{ESC}", "zqby");
    row("modifier group", "us", 0, "+(abc)d", "ABCd");
    row("de layout", "de", 0, "Zyx@€|{{}{}}", "Zyx@€|{}");
    row("fr layout", "fr", 0, "azqm1&@", "azqm1&@");
    row("second layout locked on", "us,ru", 1, "anna s3cret Жж", "anna s3cret Жж");
}

void TestKeyTyperX11::typesExactly()
{
    QFETCH(QString, layout);
    QFETCH(int, group);
    QFETCH(QString, notation);
    QFETCH(QString, expected);
    const QString setxkbmap = QStandardPaths::findExecutable("setxkbmap");
    if (layout != "us" && setxkbmap.isEmpty())
        QSKIP("setxkbmap is not installed");
    if (!setxkbmap.isEmpty())
        QCOMPARE(QProcess::execute(setxkbmap, {"-layout", layout}), 0);
    Display *display = XOpenDisplay(nullptr);
    QVERIFY(display != nullptr);
    XkbLockGroup(display, XkbUseCoreKbd, static_cast<unsigned>(group));
    XkbStateRec state{};
    XkbGetState(display, XkbUseCoreKbd, &state);
    XCloseDisplay(display);
    QCOMPARE(int(state.locked_group), group);
    QProcess target;
    QVERIFY(startTarget(target));
    QString error;
    QVERIFY2(platform::makeSystemKeyTyper()->type(notation + "{ENTER}", error), qPrintable(error));
    QCOMPARE(received(target), expected);
}

void TestKeyTyperX11::typesIntoTheRememberedWindow_data()
{
    QTest::addColumn<QString>("meanwhile"); // what becomes of the remembered window
    QTest::newRow("another window took the focus") << "";
    QTest::newRow("remembered window minimised: restored") << "unmap";
    QTest::newRow("remembered window closed: nothing typed") << "close";
}

void TestKeyTyperX11::typesIntoTheRememberedWindow()
{
    QFETCH(QString, meanwhile);
    QProcess remembered;
    QVERIFY(startTarget(remembered));
    Display *display = XOpenDisplay(nullptr);
    Window window = None;
    int revert = 0;
    XGetInputFocus(display, &window, &revert); // the remembered window's
    const std::unique_ptr<platform::KeyTyper> typer = platform::makeSystemKeyTyper();
    typer->rememberTarget();
    QProcess other;
    QVERIFY(startTarget(other));
    if (meanwhile == "unmap")
        XUnmapWindow(display, window);
    XCloseDisplay(display);
    if (meanwhile == "close")
        remembered.kill();
    QVERIFY(meanwhile != "close" || remembered.waitForFinished(5000));

    QString error;
    QCOMPARE(typer->type("abc{ENTER}", error), meanwhile != "close");
    QCOMPARE(error, QString());
    if (meanwhile != "close")
        QCOMPARE(received(remembered), QString("abc"));
    // Not a key for the window that has the focus now.
    QTest::qWait(300);
    QCOMPARE(other.state(), QProcess::Running);
    QCOMPARE(other.readAllStandardError(), QByteArray());
    other.kill();
    other.waitForFinished(5000);
}

QTEST_MAIN(TestKeyTyperX11)
#include "test_keytyper_x11.moc"
