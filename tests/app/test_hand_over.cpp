#include "HandOver.h"
#include "StartUp.h"

#include <QTest>

namespace {

class RecordingWindow : public app::MainWindowOps
{
public:
    explicit RecordingWindow(QStringList &log) : m_log(log) {}
    void UpdateView(qint32 value) override
    {
        m_log.append(QStringLiteral("UpdateView %1").arg(value));
    }
    void ReloadMenu() override {}
    void ReInitMenu() override {}
    void GotoSysTray() override {}
    void SetMenuEnabled(bool) override {}
    QWidget *window() override { return nullptr; }

private:
    QStringList &m_log;
};

} // namespace

class TestHandOver : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void receive_data();
    void receive();
};

void TestHandOver::receive_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<bool>("saveAnswer");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("filePath");
    const QStringList opened{"ask Do you want to save /data/old.VLM", "restore",
                             "open /data/new.VLM", "UpdateView 0"};
    QTest::newRow("no argument") << app::instancePayload(QString()) << true
                                 << QStringList{"restore"} << "";
    QTest::newRow("no bytes") << QByteArray() << true << QStringList{"restore"} << "";
    QTest::newRow("quoted path") << app::instancePayload(QStringLiteral("\"/data/new.VLM\""))
                                 << true << opened << "/data/new.VLM";
    QTest::newRow("cancelled") << app::instancePayload(QStringLiteral("/data/new.VLM")) << false
                               << QStringList{"ask Do you want to save /data/old.VLM"} << "";
    QTest::newRow("blanks only") << QByteArray("   ") << true << QStringList{} << "";
}

void TestHandOver::receive()
{
    QFETCH(QByteArray, payload);
    QFETCH(bool, saveAnswer);
    QFETCH(QStringList, expected);
    QFETCH(QString, filePath);
    QStringList log;
    app::RunState state;
    state.Store = std::make_unique<PasswordStore>();
    QVERIFY(state.Store->NewFile());
    // The prompt carries the open file's name; a new file's name is its placeholder.
    const QString old = QStringLiteral("/data/old.VLM");
    RecordingWindow window(log);
    state.setCurrentMainWindow(&window);
    const app::HandOverActions actions{
        [&] { log.append(QStringLiteral("restore")); },
        [&](const QString &prompt) {
            log.append(QStringLiteral("ask ") +
                       QString(prompt).replace(state.Store->FileName(), old));
            return saveAnswer;
        },
        [&] { log.append(QStringLiteral("open ") + state.FilePath); }};
    app::receiveHandOver(state, payload, actions);
    QCOMPARE(log, expected);
    QCOMPARE(state.FilePath, filePath);
}

QTEST_GUILESS_MAIN(TestHandOver)
#include "test_hand_over.moc"
