// The category editor as a user drives it: adding, deleting and renaming
// categories, what the store holds afterwards, every message, and the window
// stack around the editor.

#include "CategoryFixtures.h"
#include "frmCategory.h"

#include <QPushButton>

using namespace cattest;

namespace {

const QStringList Loaded{QStringLiteral("Bank"), QStringLiteral("Mail"), QStringLiteral("Web")};
const QStringList AllRecords{QStringLiteral("amazon:Web/Shops"), QStringLiteral("ebay:Web/Shops"),
                             QStringLiteral("gmail:Mail/"),      QStringLiteral("loose:/"),
                             QStringLiteral("posteo:Mail/"),     QStringLiteral("proton:Mail/")};

} // namespace

class TestCategoryEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadShowsCategoriesOverDisabledMain();
    void add_data();
    void add();
    void nameLimitedToTwentyCharacters();
    void deleteEmptyAsksNothing();
    void deleteWithRecords_data();
    void deleteWithRecords();
    void deleteWithoutSelection();
    void deleteRefused();
    void rename_data();
    void rename();
    void closing_data();
    void closing();
    void enterPressesFocusedButton();
    void placementKept();
};

void TestCategoryEditor::loadShowsCategoriesOverDisabledMain()
{
    Fixture f;
    const QPointer<frmCategory> editor = dialogs::ShowCategoryEditor(f.t.services);
    QVERIFY(editor);
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->windowTitle(), QStringLiteral("Category Edit"));
    QCOMPARE(linesOf(*editor->lstCategorie), Loaded);
    QCOMPARE(selectedLine(*editor->lstCategorie), QString());
    QCOMPARE(editor->txtcateg->text(), QString());
    QCOMPARE(editor->cmdOK->text(), QStringLiteral("&OK"));
    QCOMPARE(f.t.windows.top(), editor.data());
    QVERIFY(!f.main.widget.isEnabled());
    QVERIFY(!f.t.state.RefreshRequested());
    editor->close();
}

void TestCategoryEditor::add_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("leftInField");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("storeError");

    const QStringList withCards = Loaded + QStringList{QStringLiteral("Cards")};
    QTest::newRow("button") << QStringLiteral("Cards") << false << withCards << QString() << false
                            << QString();
    QTest::newRow("enter") << QStringLiteral("Cards") << true << withCards << QString() << false
                           << QString();
    QTest::newRow("blanks trimmed")
        << QStringLiteral("  Cards  ") << false << withCards << QString() << false << QString();
    QTest::newRow("all blanks") << QStringLiteral("    ") << false << Loaded
                                << QStringLiteral("    ") << false << QString();
    QTest::newRow("empty") << QString() << true << Loaded << QString() << false << QString();
    QTest::newRow("duplicate") << QStringLiteral("Mail") << false << Loaded
                               << QStringLiteral("Mail") << true
                               << QStringLiteral("The category \"Mail\" already exists.");
    QTest::newRow("duplicate, other case, blanks")
        << QStringLiteral(" mAIL ") << true << Loaded << QStringLiteral(" mAIL ") << true
        << QStringLiteral("The category \"mAIL\" already exists.");
}

void TestCategoryEditor::add()
{
    QFETCH(QString, typed);
    QFETCH(bool, byEnter);
    QFETCH(QStringList, lines);
    QFETCH(QString, leftInField);
    QFETCH(bool, refused);
    QFETCH(QString, storeError);
    Fixture f;
    frmCategory editor(f.t.services);
    editor.show();
    QVERIFY(clickLine(*editor.lstCategorie, QStringLiteral("Bank")));
    retype(editor.txtcateg, typed);
    if (byEnter) {
        QTest::keyClick(editor.txtcateg, Qt::Key_Return);
    } else {
        QTest::mouseClick(editor.cmdAdd, Qt::LeftButton);
    }
    QCOMPARE(linesOf(*editor.lstCategorie), lines);
    QCOMPARE(f.categories(), sorted(lines));
    QCOMPARE(editor.txtcateg->text(), leftInField);
    QCOMPARE(selectedLine(*editor.lstCategorie), QStringLiteral("Bank"));
    QCOMPARE(f.t.prompt.asked, refused ? QList<PromptRequest>{critical(
                                             QStringLiteral("You Cannot Duplicate Categories!"))}
                                       : QList<PromptRequest>{});
    if (refused) {
        QCOMPARE(f.store().LastError(), storeError);
    }
    if (lines != Loaded) {
        // Ready for the next name.
        QCOMPARE(editor.focusWidget(), editor.txtcateg);
    }
    QCOMPARE(f.records(), AllRecords);
    editor.close();
}

void TestCategoryEditor::nameLimitedToTwentyCharacters()
{
    Fixture f;
    frmCategory editor(f.t.services);
    editor.show();
    retype(editor.txtcateg, QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
    QCOMPARE(editor.txtcateg->text(), QStringLiteral("abcdefghijklmnopqrst"));
    QTest::mouseClick(editor.cmdAdd, Qt::LeftButton);
    QVERIFY(f.categories().contains(QStringLiteral("abcdefghijklmnopqrst")));
    QCOMPARE(linesOf(*editor.lstCategorie).last(), QStringLiteral("abcdefghijklmnopqrst"));
    editor.close();
}

void TestCategoryEditor::deleteEmptyAsksNothing()
{
    Fixture f;
    frmCategory editor(f.t.services);
    editor.show();
    QVERIFY(clickLine(*editor.lstCategorie, QStringLiteral("Bank")));
    QTest::mouseClick(editor.cmdDel, Qt::LeftButton);
    QCOMPARE(f.t.prompt.asked, QList<PromptRequest>{});
    const QStringList left{QStringLiteral("Mail"), QStringLiteral("Web")};
    QCOMPARE(linesOf(*editor.lstCategorie), left);
    QCOMPARE(f.categories(), left);
    QCOMPARE(selectedLine(*editor.lstCategorie), QString());
    // With nothing selected a second press removes nothing.
    QTest::mouseClick(editor.cmdDel, Qt::LeftButton);
    QCOMPARE(f.categories(), left);
    QCOMPARE(f.records(), AllRecords);
    editor.close();
}

void TestCategoryEditor::deleteWithRecords_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<int>("count");
    QTest::addColumn<PromptAnswer>("answer");
    QTest::addColumn<bool>("deleted");
    QTest::addColumn<QStringList>("records");

    const QStringList mailMoved{
        QStringLiteral("amazon:Web/Shops"), QStringLiteral("ebay:Web/Shops"),
        QStringLiteral("gmail:/"),          QStringLiteral("loose:/"),
        QStringLiteral("posteo:/"),         QStringLiteral("proton:/")};
    const QStringList mailGone{QStringLiteral("amazon:Web/Shops"), QStringLiteral("ebay:Web/Shops"),
                               QStringLiteral("loose:/")};
    const QStringList webMoved{QStringLiteral("amazon:/"),     QStringLiteral("ebay:/"),
                               QStringLiteral("gmail:Mail/"),  QStringLiteral("loose:/"),
                               QStringLiteral("posteo:Mail/"), QStringLiteral("proton:Mail/")};
    QTest::newRow("yes moves") << QStringLiteral("Mail") << 3 << PromptAnswer::Yes << true
                               << mailMoved;
    QTest::newRow("no deletes") << QStringLiteral("Mail") << 3 << PromptAnswer::No << true
                                << mailGone;
    QTest::newRow("cancel keeps") << QStringLiteral("Mail") << 3 << PromptAnswer::Cancel << false
                                  << AllRecords;
    QTest::newRow("records in a subcategory, yes")
        << QStringLiteral("Web") << 2 << PromptAnswer::Yes << true << webMoved;
}

void TestCategoryEditor::deleteWithRecords()
{
    QFETCH(QString, category);
    QFETCH(int, count);
    QFETCH(PromptAnswer, answer);
    QFETCH(bool, deleted);
    QFETCH(QStringList, records);
    Fixture f;
    frmCategory editor(f.t.services);
    editor.show();
    QVERIFY(clickLine(*editor.lstCategorie, category));
    f.t.prompt.queue(answer);
    QTest::mouseClick(editor.cmdDel, Qt::LeftButton);
    QCOMPARE(f.t.prompt.asked,
             QList<PromptRequest>{deleteQuestion(QStringLiteral("category"), count)});
    QCOMPARE(f.t.prompt.unplanned, 0);
    QStringList left = Loaded;
    if (deleted) {
        left.removeOne(category);
    }
    QCOMPARE(linesOf(*editor.lstCategorie), left);
    QCOMPARE(f.categories(), sorted(left));
    QCOMPARE(f.records(), records);
    QCOMPARE(selectedLine(*editor.lstCategorie), deleted ? QString() : category);
    editor.close();
}

void TestCategoryEditor::deleteWithoutSelection()
{
    Fixture f;
    frmCategory editor(f.t.services);
    editor.show();
    QTest::mouseClick(editor.cmdDel, Qt::LeftButton);
    QCOMPARE(f.t.prompt.asked, QList<PromptRequest>{});
    QCOMPARE(f.categories(), Loaded);
    QCOMPARE(linesOf(*editor.lstCategorie), Loaded);
    editor.close();
}

void TestCategoryEditor::deleteRefused()
{
    Fixture f;
    frmCategory editor(f.t.services);
    editor.show();
    QVERIFY(clickLine(*editor.lstCategorie, QStringLiteral("Bank")));
    // Gone from the store since the list was filled.
    QVERIFY(f.store().DeleteCategory(QStringLiteral("Bank"), true));
    QTest::mouseClick(editor.cmdDel, Qt::LeftButton);
    QCOMPARE(f.t.prompt.asked,
             QList<PromptRequest>{critical(QStringLiteral("Cannot Delete Category!"))});
    QCOMPARE(f.store().LastError(), QStringLiteral("There is no category \"Bank\"."));
    QCOMPARE(linesOf(*editor.lstCategorie), Loaded);
    QCOMPARE(selectedLine(*editor.lstCategorie), QStringLiteral("Bank"));
    editor.close();
}

void TestCategoryEditor::rename_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QList<PromptRequest>>("asked");
    QTest::addColumn<QString>("storeError");

    const QList<PromptRequest> none;
    QTest::newRow("plain") << QStringLiteral("Mail") << QStringLiteral("Post")
                           << QStringList{QStringLiteral("Bank"), QStringLiteral("Post"),
                                          QStringLiteral("Web")}
                           << none << QString();
    QTest::newRow("blanks kept as typed")
        << QStringLiteral("Mail") << QStringLiteral(" Post ")
        << QStringList{QStringLiteral("Bank"), QStringLiteral(" Post "), QStringLiteral("Web")}
        << none << QString();
    QTest::newRow("own name, other case")
        << QStringLiteral("Mail") << QStringLiteral("MAIL")
        << QStringList{QStringLiteral("Bank"), QStringLiteral("MAIL"), QStringLiteral("Web")}
        << none << QString();
    QTest::newRow("nothing selected") << QString() << QStringLiteral("Post") << Loaded
                                      << QList<PromptRequest>{errore()} << QString();
    QTest::newRow("blank name") << QStringLiteral("Mail") << QStringLiteral("   ") << Loaded
                                << QList<PromptRequest>{errore()} << QString();
    QTest::newRow("clash") << QStringLiteral("Mail") << QStringLiteral("bank") << Loaded
                           << QList<PromptRequest>{critical(
                                  QStringLiteral("Cannot Rename Category!"))}
                           << QStringLiteral("The category \"bank\" already exists.");
}

void TestCategoryEditor::rename()
{
    QFETCH(QString, selected);
    QFETCH(QString, typed);
    QFETCH(QStringList, lines);
    QFETCH(QList<PromptRequest>, asked);
    QFETCH(QString, storeError);
    Fixture f;
    const qint16 mailCode = f.code(QStringLiteral("Mail"));
    frmCategory editor(f.t.services);
    editor.show();
    if (!selected.isEmpty()) {
        QVERIFY(clickLine(*editor.lstCategorie, selected));
    }
    retype(editor.txtcateg, typed);
    QTest::mouseClick(editor.cmdRen, Qt::LeftButton);
    QCOMPARE(f.t.prompt.asked, asked);
    QCOMPARE(linesOf(*editor.lstCategorie), lines);
    QCOMPARE(f.categories(), sorted(lines));
    QCOMPARE(editor.txtcateg->text(), typed);
    if (!storeError.isEmpty()) {
        QCOMPARE(f.store().LastError(), storeError);
    }
    if (asked.isEmpty()) {
        // The records follow their category under its new name.
        QCOMPARE(f.store().CategoryName(mailCode), typed);
        QCOMPARE(selectedLine(*editor.lstCategorie), typed);
        QCOMPARE(f.store().CountCategoryPasswords(typed), 3);
    } else {
        QCOMPARE(f.store().CategoryName(mailCode), QStringLiteral("Mail"));
    }
    editor.close();
}

void TestCategoryEditor::closing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("OK button") << QStringLiteral("ok");
    QTest::newRow("Esc in the name") << QStringLiteral("esc-text");
    QTest::newRow("Esc in the list") << QStringLiteral("esc-list");
    QTest::newRow("close box") << QStringLiteral("close");
    QTest::newRow("Enter on OK") << QStringLiteral("enter-ok");
}

void TestCategoryEditor::closing()
{
    QFETCH(QString, how);
    Fixture f;
    const QPointer<frmCategory> editor = dialogs::ShowCategoryEditor(f.t.services);
    QVERIFY(!f.main.widget.isEnabled());
    if (how == QStringLiteral("ok")) {
        QTest::mouseClick(editor->cmdOK, Qt::LeftButton);
    } else if (how == QStringLiteral("esc-text")) {
        QTest::keyClick(editor->txtcateg, Qt::Key_Escape);
    } else if (how == QStringLiteral("esc-list")) {
        QTest::keyClick(editor->lstCategorie, Qt::Key_Escape);
    } else if (how == QStringLiteral("enter-ok")) {
        editor->cmdOK->setFocus();
        QTest::keyClick(editor->cmdOK, Qt::Key_Return);
    } else {
        editor->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(editor.isNull());
    QVERIFY(f.t.windows.isEmpty());
    QVERIFY(f.main.widget.isEnabled());
    QVERIFY(f.t.state.RefreshRequested());
    QVERIFY(!f.t.state.MenuOnlyRefresh());
    QCOMPARE(f.t.state.RefreshValue(), 0);
    QCOMPARE(f.categories(), Loaded);
    QCOMPARE(f.t.prompt.asked, QList<PromptRequest>{});
}

void TestCategoryEditor::enterPressesFocusedButton()
{
    Fixture f;
    frmCategory editor(f.t.services);
    editor.show();
    QVERIFY(clickLine(*editor.lstCategorie, QStringLiteral("Bank")));
    retype(editor.txtcateg, QStringLiteral("Cards"));
    // Enter in the list adds the typed name.
    QTest::keyClick(editor.lstCategorie, Qt::Key_Return);
    QCOMPARE(f.categories(), sorted(Loaded + QStringList{QStringLiteral("Cards")}));
    // Enter on the focused Delete button deletes rather than adds.
    QVERIFY(clickLine(*editor.lstCategorie, QStringLiteral("Bank")));
    retype(editor.txtcateg, QStringLiteral("Other"));
    editor.cmdDel->setFocus();
    QTest::keyClick(editor.cmdDel, Qt::Key_Return);
    const QStringList left{QStringLiteral("Mail"), QStringLiteral("Web"), QStringLiteral("Cards")};
    QCOMPARE(linesOf(*editor.lstCategorie), left);
    QCOMPARE(editor.txtcateg->text(), QStringLiteral("Other"));
    editor.close();
}

void TestCategoryEditor::placementKept()
{
    Fixture f;
    f.t.options.AutoSaveWin = true;
    f.t.options.AutoLoadWin = true;
    {
        frmCategory editor(f.t.services);
        editor.show();
        editor.resize(411, 333);
        editor.close();
    }
    frmCategory again(f.t.services);
    again.show();
    QCOMPARE(again.size(), QSize(411, 333));
    again.close();
}

QTEST_MAIN(TestCategoryEditor)
#include "test_category_editor.moc"
