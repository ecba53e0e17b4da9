// The change-category dialog on its own: what it lists, the index it
// answers for each way it is closed, and the placement it keeps.

#include "CategoryFixtures.h"
#include "frmChangeCat.h"

#include <QPushButton>
#include <QTimer>

using namespace cattest;

class TestChangeCategory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answer_data();
    void answer();
    void placementKept();
    void centredOverMainWindow();
};

void TestChangeCategory::answer_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("picked");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("OK") << 2 << QStringLiteral("ok") << QStringLiteral("Bank") << 0 << false;
    QTest::newRow("Enter") << 0 << QStringLiteral("enter") << QStringLiteral("Web") << 2 << false;
    QTest::newRow("OK, unchanged")
        << 1 << QStringLiteral("ok") << QStringLiteral("Mail") << 1 << false;
    QTest::newRow("Cancel") << 2 << QStringLiteral("cancel") << QStringLiteral("Bank") << 2 << true;
    QTest::newRow("Esc") << 1 << QStringLiteral("esc") << QStringLiteral("Web") << 1 << true;
    QTest::newRow("close box") << 0 << QStringLiteral("close") << QStringLiteral("Mail") << 0
                               << true;
}

void TestChangeCategory::answer()
{
    QFETCH(int, entry);
    QFETCH(QString, how);
    QFETCH(QString, picked);
    QFETCH(int, expected);
    QFETCH(bool, cancelled);
    Fixture f;
    QWidget owner;
    owner.show();
    frmChangeCat dialog(f.t.services, &owner);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Change Category"));
    QCOMPARE(itemsOf(*dialog.cboCategorie),
             (QStringList{QStringLiteral("Bank"), QStringLiteral("Mail"), QStringLiteral("Web")}));
    QVERIFY(dialog.cancelled());
    dialog.cboCategorie->setCurrentIndex(entry);
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        wasModal = QApplication::activeModalWidget() == &dialog;
        QVERIFY(chooseItem(*dialog.cboCategorie, picked));
        if (how == QStringLiteral("ok")) {
            QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
        } else if (how == QStringLiteral("enter")) {
            QTest::keyClick(dialog.cboCategorie, Qt::Key_Return);
        } else if (how == QStringLiteral("cancel")) {
            QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton);
        } else if (how == QStringLiteral("esc")) {
            QTest::keyClick(dialog.cboCategorie, Qt::Key_Escape);
        } else {
            dialog.close();
        }
    });
    QCOMPARE(int{dialog.ChangeCat()}, expected);
    QVERIFY(wasModal);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.cancelled(), cancelled);
    // The dialog takes no part in the window stack.
    QVERIFY(f.t.windows.isEmpty());
    QVERIFY(!f.t.state.RefreshRequested());
}

void TestChangeCategory::placementKept()
{
    Fixture f;
    f.t.options.AutoSaveWin = true;
    f.t.options.AutoLoadWin = true;
    {
        frmChangeCat dialog(f.t.services, nullptr);
        QTimer::singleShot(0, [&dialog] {
            dialog.resize(377, 122);
            dialog.close();
        });
        dialog.ChangeCat();
    }
    frmChangeCat again(f.t.services, nullptr);
    QCOMPARE(again.size(), QSize(377, 122));
}

void TestChangeCategory::centredOverMainWindow()
{
    Fixture f;
    f.t.options.AutoLoadWin = false;
    f.main.widget.setGeometry(300, 200, 700, 500);
    QWidget owner; // the subcategory editor, elsewhere on the screen
    owner.setGeometry(0, 0, 200, 100);
    owner.show();
    const frmChangeCat dialog(f.t.services, &owner);
    QCOMPARE(dialog.frameGeometry().center(), f.main.widget.frameGeometry().center());
}

QTEST_MAIN(TestChangeCategory)
#include "test_change_category.moc"
