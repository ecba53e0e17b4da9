// End to end under Xvfb: keystrokes typed into a second process's text field
// arrive exactly, also characters that the keymap lacks and while a second
// layout is locked on; and into the window remembered before, whichever
// window has the focus by then.

#include "KeyTyper.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace {

// Starts the target window and waits until it has the focus.
bool startTarget(QProcess &target)
{
    target.start(QStringLiteral(VELLUMOR_TYPE_TARGET), {});
    return target.waitForStarted() && target.waitForReadyRead(10000) &&
           target.readLine().trimmed() == "ready";
}

} // namespace

class TestKeyTyperX11 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void typesExactly_data();
    void typesExactly();
    void typesIntoTheRememberedWindow_data();
    void typesIntoTheRememberedWindow();
};

void TestKeyTyperX11::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        QSKIP("needs an X display (run under tests/with-xvfb.sh)");
    }
}

void TestKeyTyperX11::typesExactly_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<int>("group"); // the layout's group locked on, from 0
    QTest::addColumn<QString>("notation");
    QTest::addColumn<QString>("expected");
    QTest::newRow("us letters and digits") << "us" << 0 << "Hello World 0123456789"
                                           << "Hello World 0123456789";
    QTest::newRow("us punctuation")
        << "us" << 0 << "!@#$&*_-=[];':\",./<>?`|\\{+}{^}{%}{~}{(}{)}{{}{}}"
        << "!@#$&*_-=[];':\",./<>?`|\\+^%~(){}";
    QTest::newRow("us characters not on the keymap") << "us" << 0 << "äöüß€✓Ωπ"
                                                     << "äöüß€✓Ωπ";
    QTest::newRow("de layout") << "de" << 0 << "Zyx@€|{{}{}}"
                               << "Zyx@€|{}";
    QTest::newRow("fr layout") << "fr" << 0 << "azqm1&@"
                               << "azqm1&@";
    QTest::newRow("modifier group") << "us" << 0 << "+(abc)d"
                                    << "ABCd";
    QTest::newRow("second layout locked on") << "us,ru" << 1 << "anna s3cret Жж"
                                             << "anna s3cret Жж";
}

void TestKeyTyperX11::typesExactly()
{
    QFETCH(QString, layout);
    QFETCH(int, group);
    QFETCH(QString, notation);
    QFETCH(QString, expected);
    const QString setxkbmap = QStandardPaths::findExecutable(QStringLiteral("setxkbmap"));
    if (layout != QLatin1String("us") && setxkbmap.isEmpty()) {
        QSKIP("setxkbmap is not installed");
    }
    if (!setxkbmap.isEmpty()) {
        QCOMPARE(QProcess::execute(setxkbmap, {QStringLiteral("-layout"), layout}), 0);
    }
    Display *display = XOpenDisplay(nullptr);
    QVERIFY(display != nullptr);
    XkbLockGroup(display, XkbUseCoreKbd, static_cast<unsigned>(group));
    XkbStateRec state{};
    XkbGetState(display, XkbUseCoreKbd, &state);
    XCloseDisplay(display);
    QCOMPARE(int(state.locked_group), group);
    QProcess target;
    QVERIFY(startTarget(target));

    const std::unique_ptr<platform::KeyTyper> typer = platform::makeSystemKeyTyper();
    QString error;
    QVERIFY2(typer->type(notation + QStringLiteral("{ENTER}"), error), qPrintable(error));
    if (!target.waitForFinished(10000)) {
        target.terminate();
        target.waitForFinished(5000);
        QFAIL(target.readAllStandardError().constData());
    }
    const QByteArray line = target.readAllStandardOutput().trimmed();
    QVERIFY(line.startsWith("text "));
    QCOMPARE(QString::fromUtf8(QByteArray::fromHex(line.mid(5))), expected);
}

void TestKeyTyperX11::typesIntoTheRememberedWindow_data()
{
    QTest::addColumn<QString>("meanwhile"); // what becomes of the remembered window
    QTest::addColumn<bool>("typed");
    QTest::newRow("another window took the focus") << "" << true;
    QTest::newRow("remembered window minimised") << "unmap" << true;
    QTest::newRow("remembered window closed: nothing typed") << "close" << false;
}

void TestKeyTyperX11::typesIntoTheRememberedWindow()
{
    QFETCH(QString, meanwhile);
    QFETCH(bool, typed);
    Display *display = XOpenDisplay(nullptr);
    QVERIFY(display != nullptr);
    XkbLockGroup(display, XkbUseCoreKbd, 0);
    QProcess remembered;
    QVERIFY(startTarget(remembered));
    Window window = None;
    int revert = 0;
    XGetInputFocus(display, &window, &revert);
    const std::unique_ptr<platform::KeyTyper> typer = platform::makeSystemKeyTyper();
    typer->rememberTarget();

    QProcess other;
    QVERIFY(startTarget(other));
    if (meanwhile == QLatin1String("unmap")) {
        XUnmapWindow(display, window);
    } else if (meanwhile == QLatin1String("close")) {
        remembered.kill();
        QVERIFY(remembered.waitForFinished(5000));
    }
    XSync(display, False);
    XCloseDisplay(display);

    QString error;
    QCOMPARE(typer->type(QStringLiteral("abc{ENTER}"), error), typed);
    QCOMPARE(error, QString());
    if (typed) {
        QVERIFY2(remembered.waitForFinished(10000), remembered.readAllStandardError().constData());
        QCOMPARE(remembered.readAllStandardOutput().trimmed(), QByteArray("text 616263"));
    }
    // Not a key for the window that has the focus now.
    QTest::qWait(300);
    QCOMPARE(other.state(), QProcess::Running);
    QCOMPARE(other.readAllStandardError(), QByteArray());
    other.kill();
    other.waitForFinished(5000);
}

QTEST_MAIN(TestKeyTyperX11)
#include "test_keytyper_x11.moc"
