// Message boxes: the real box shows exactly what was asked and answers what
// was clicked; the scripted one records and answers in turn.

#include "Prompt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace platform;

class TestPrompt : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void messageBox_data();
    void messageBox();
    void scripted();
};

void TestPrompt::messageBox_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("click"); // a QMessageBox::StandardButton, 0 = Esc
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("shownTitle");
    const auto b = [](PromptButtons v) { return int(v); };
    const auto i = [](PromptIcon v) { return int(v); };
    const auto a = [](PromptAnswer v) { return int(v); };
    QTest::newRow("ok, critical") << b(PromptButtons::Ok) << i(PromptIcon::Critical) << "VLM"
                                  << int(QMessageBox::Ok) << a(PromptAnswer::Ok) << "VLM";
    QTest::newRow("yes/no/cancel, no")
        << b(PromptButtons::YesNoCancel) << i(PromptIcon::Question) << "VLM" << int(QMessageBox::No)
        << a(PromptAnswer::No) << "VLM";
    QTest::newRow("yes/no/cancel, esc") << b(PromptButtons::YesNoCancel) << i(PromptIcon::Question)
                                        << "VLM" << 0 << a(PromptAnswer::Cancel) << "VLM";
    QTest::newRow("yes/no, yes") << b(PromptButtons::YesNo) << i(PromptIcon::Question) << "VLM"
                                 << int(QMessageBox::Yes) << a(PromptAnswer::Yes) << "VLM";
    QTest::newRow("default title") << b(PromptButtons::Ok) << i(PromptIcon::None) << ""
                                   << int(QMessageBox::Ok) << a(PromptAnswer::Ok) << "Default";
}

void TestPrompt::messageBox()
{
    QFETCH(int, buttons);
    QFETCH(int, icon);
    QFETCH(QString, title);
    QFETCH(int, click);
    QFETCH(int, answer);
    QFETCH(QString, shownTitle);
    MessageBoxPrompt prompt(QStringLiteral("Default"));
    QString seenTitle;
    QString seenText;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons seenButtons;
    QTimer poll;
    poll.setInterval(20);
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        poll.stop();
        seenTitle = box->windowTitle();
        seenText = box->text();
        seenIcon = box->icon();
        seenButtons = box->standardButtons();
        if (click == 0) {
            QTest::keyClick(box, Qt::Key_Escape);
        } else {
            box->button(QMessageBox::StandardButton(click))->click();
        }
    });
    poll.start();
    const PromptAnswer got =
        prompt.ask(QStringLiteral("There are 3 password in this category.\rYES to Move"),
                   PromptButtons(buttons), PromptIcon(icon), title);
    QCOMPARE(int(got), answer);
    QCOMPARE(seenTitle, shownTitle);
    QCOMPARE(seenText, QStringLiteral("There are 3 password in this category.\nYES to Move"));
    const QMap<int, QMessageBox::Icon> icons = {{int(PromptIcon::None), QMessageBox::NoIcon},
                                                {int(PromptIcon::Critical), QMessageBox::Critical},
                                                {int(PromptIcon::Question), QMessageBox::Question}};
    QCOMPARE(seenIcon, icons.value(icon));
    const QMap<int, QMessageBox::StandardButtons> sets = {
        {int(PromptButtons::Ok), QMessageBox::Ok},
        {int(PromptButtons::YesNo), QMessageBox::Yes | QMessageBox::No},
        {int(PromptButtons::YesNoCancel),
         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel}};
    QCOMPARE(seenButtons, sets.value(buttons));
}

void TestPrompt::scripted()
{
    ScriptedPrompt prompt;
    prompt.queue(PromptAnswer::No);
    const PromptRequest first{QStringLiteral("Save?"), QStringLiteral("VLM"), PromptIcon::Question,
                              PromptButtons::YesNoCancel};
    QCOMPARE(prompt.ask(first), PromptAnswer::No);
    QCOMPARE(prompt.unplanned, 0);
    QCOMPARE(prompt.ask(QStringLiteral("Done"), PromptButtons::Ok, PromptIcon::None, QString()),
             PromptAnswer::Ok);
    QCOMPARE(prompt.unplanned, 1);
    QCOMPARE(prompt.asked.size(), 2);
    QCOMPARE(prompt.asked.at(0), first);
    QCOMPARE(prompt.asked.at(1).title, QString());
}

QTEST_MAIN(TestPrompt)
#include "test_prompt.moc"
