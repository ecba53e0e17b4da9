// The clipboard hint for secrets, and how links are classified for opening.

#include "Clipboard.h"
#include "Shell.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

using namespace platform;

class TestClipboardShell : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void secretsCarryTheHint();
    void classify_data();
    void classify();
};

void TestClipboardShell::secretsCarryTheHint()
{
    SystemClipboard clipboard;
    clipboard.setText(QStringLiteral("hunter2"), true);
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(data->text(), QStringLiteral("hunter2"));
    QCOMPARE(data->data(QStringLiteral("x-kde-passwordManagerHint")), QByteArray("secret"));
    clipboard.setText(QStringLiteral("https://example.com"), false);
    data = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(data->text(), QStringLiteral("https://example.com"));
    QVERIFY(!data->hasFormat(QStringLiteral("x-kde-passwordManagerHint")));
}

void TestClipboardShell::classify_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("kind");
    QTest::newRow("https") << "https://bank.example/login" << int(DesktopShell::Kind::Url);
    QTest::newRow("mailto") << "mailto:me@example.org" << int(DesktopShell::Kind::Url);
    QTest::newRow("bare host") << "www.example.com" << int(DesktopShell::Kind::Url);
    QTest::newRow("program") << "@program" << int(DesktopShell::Kind::Program);
    QTest::newRow("document") << "@document" << int(DesktopShell::Kind::Document);
    QTest::newRow("blanks around") << "  https://x.example  " << int(DesktopShell::Kind::Url);
}

void TestClipboardShell::classify()
{
    QFETCH(QString, target);
    QFETCH(int, kind);
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("tool.sh"));
    const QString document = dir.filePath(QStringLiteral("notes.txt"));
    QFile(program).open(QIODevice::WriteOnly);
    QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile(document).open(QIODevice::WriteOnly);
    target.replace(QStringLiteral("@program"), program)
        .replace(QStringLiteral("@document"), document);
    QCOMPARE(int(DesktopShell::classify(target)), kind);
}

QTEST_MAIN(TestClipboardShell)
#include "test_clipboard_shell.moc"
