// The subcategory editor and the change-category dialog as a user drives
// them: the list per category, add, delete, rename, move, every message, and
// the window stack around the editor.

#include "CategoryFixtures.h"
#include "frmChangeCat.h"
#include "frmSubCategory.h"

#include <functional>
#include <QPushButton>
#include <QTimer>

using namespace cattest;

namespace {

// Runs `act` on the change-category dialog once it is up and waiting.
void whenAsked(std::function<void(frmChangeCat &)> act)
{
    QTimer::singleShot(0, [act = std::move(act)] {
        auto *dialog = qobject_cast<frmChangeCat *>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        act(*dialog);
    });
}

} // namespace

class TestSubCategoryEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadChoosesNoCategory();
    void switchingCategoryReplacesList();
    void add_data();
    void add();
    void deleteWithRecords_data();
    void deleteWithRecords();
    void rename_data();
    void rename();
    void move_data();
    void move();
    void moveWithoutSelection();
    void refusals_data();
    void refusals();
    void closing_data();
    void closing();
};

void TestSubCategoryEditor::loadChoosesNoCategory()
{
    Fixture f;
    const QPointer<frmSubCategory> editor = dialogs::ShowSubCategoryEditor(f.t.services);
    QCOMPARE(editor->windowTitle(), QStringLiteral("Edit Sottocategorie"));
    QCOMPARE(itemsOf(*editor->cboCategorie),
             (QStringList{QStringLiteral("Bank"), QStringLiteral("Mail"), QStringLiteral("Web")}));
    QCOMPARE(editor->cboCategorie->currentIndex(), -1);
    QCOMPARE(linesOf(*editor->lstSubCateg), QStringList{});
    QVERIFY(!f.main.widget.isEnabled());
    QCOMPARE(f.t.windows.top(), editor.data());
    editor->close();
}

void TestSubCategoryEditor::switchingCategoryReplacesList()
{
    Fixture f;
    frmSubCategory editor(f.t.services);
    editor.show();
    QVERIFY(chooseItem(*editor.cboCategorie, QStringLiteral("Web")));
    QCOMPARE(sorted(linesOf(*editor.lstSubCateg)), f.subcategories(QStringLiteral("Web")));
    QCOMPARE(linesOf(*editor.lstSubCateg).size(), 2);
    QVERIFY(chooseItem(*editor.cboCategorie, QStringLiteral("Bank")));
    QCOMPARE(linesOf(*editor.lstSubCateg), QStringList{});
    editor.close();
}

void TestSubCategoryEditor::add_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QList<PromptRequest>>("asked");

    QTest::newRow("trimmed") << QStringLiteral("Bank") << QStringLiteral("  Cards ")
                             << QStringList{QStringLiteral("Cards")} << QList<PromptRequest>{};
    QTest::newRow("blank") << QStringLiteral("Bank") << QStringLiteral("   ") << QStringList{}
                           << QList<PromptRequest>{};
    QTest::newRow("duplicate in category")
        << QStringLiteral("Web") << QStringLiteral("shops")
        << QStringList{QStringLiteral("Forums"), QStringLiteral("Shops")}
        << QList<PromptRequest>{
               critical(QStringLiteral("Cannot duplicate SubCategory in the same Category!"))};
    QTest::newRow("same name, other category")
        << QStringLiteral("Mail") << QStringLiteral("Shops") << QStringList{QStringLiteral("Shops")}
        << QList<PromptRequest>{};
    QTest::newRow("no category chosen")
        << QString() << QStringLiteral("Cards") << QStringList{} << QList<PromptRequest>{errore()};
}

void TestSubCategoryEditor::add()
{
    QFETCH(QString, category);
    QFETCH(QString, typed);
    QFETCH(QStringList, lines);
    QFETCH(QList<PromptRequest>, asked);
    Fixture f;
    frmSubCategory editor(f.t.services);
    editor.show();
    if (!category.isEmpty()) {
        QVERIFY(chooseItem(*editor.cboCategorie, category));
    }
    retype(editor.txtSubCateg, typed);
    QTest::keyClick(editor.txtSubCateg, Qt::Key_Return);
    QCOMPARE(f.t.prompt.asked, asked);
    QCOMPARE(sorted(linesOf(*editor.lstSubCateg)), lines);
    if (!category.isEmpty()) {
        QCOMPARE(f.subcategories(category), lines);
    }
    QCOMPARE(editor.txtSubCateg->text(),
             asked.isEmpty() && !typed.trimmed().isEmpty() ? QString() : typed);
    if (asked.size() == 1 && asked.first().icon == PromptIcon::Critical) {
        QCOMPARE(f.store().LastError(),
                 QStringLiteral("The category \"Web\" already has a subcategory \"shops\"."));
    }
    editor.close();
}

void TestSubCategoryEditor::deleteWithRecords_data()
{
    QTest::addColumn<QString>("sub");
    QTest::addColumn<PromptAnswer>("answer");
    QTest::addColumn<bool>("asks");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("shopRecords");

    const QStringList kept{QStringLiteral("amazon:Web/Shops"), QStringLiteral("ebay:Web/Shops")};
    QTest::newRow("empty, no question") << QStringLiteral("Forums") << PromptAnswer::Ok << false
                                        << QStringList{QStringLiteral("Shops")} << kept;
    QTest::newRow("yes moves") << QStringLiteral("Shops") << PromptAnswer::Yes << true
                               << QStringList{QStringLiteral("Forums")}
                               << QStringList{QStringLiteral("amazon:Web/"),
                                              QStringLiteral("ebay:Web/")};
    QTest::newRow("no deletes") << QStringLiteral("Shops") << PromptAnswer::No << true
                                << QStringList{QStringLiteral("Forums")} << QStringList{};
    QTest::newRow("cancel keeps") << QStringLiteral("Shops") << PromptAnswer::Cancel << true
                                  << QStringList{QStringLiteral("Forums"), QStringLiteral("Shops")}
                                  << kept;
}

void TestSubCategoryEditor::deleteWithRecords()
{
    QFETCH(QString, sub);
    QFETCH(PromptAnswer, answer);
    QFETCH(bool, asks);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, shopRecords);
    Fixture f;
    frmSubCategory editor(f.t.services);
    editor.show();
    QVERIFY(chooseItem(*editor.cboCategorie, QStringLiteral("Web")));
    QVERIFY(clickLine(*editor.lstSubCateg, sub));
    if (asks) {
        f.t.prompt.queue(answer);
    }
    QTest::mouseClick(editor.cmdDel, Qt::LeftButton);
    QCOMPARE(f.t.prompt.asked,
             asks ? QList<PromptRequest>{deleteQuestion(QStringLiteral("Subcategory"), 2)}
                  : QList<PromptRequest>{});
    QCOMPARE(sorted(linesOf(*editor.lstSubCateg)), lines);
    QCOMPARE(f.subcategories(QStringLiteral("Web")), lines);
    QStringList webRecords;
    for (const QString &r : f.records()) {
        if (r.contains(QStringLiteral(":Web"))) {
            webRecords << r;
        }
    }
    QCOMPARE(webRecords, shopRecords);
    QCOMPARE(selectedLine(*editor.lstSubCateg), lines.contains(sub) ? sub : QString());
    editor.close();
}

void TestSubCategoryEditor::rename_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QList<PromptRequest>>("asked");

    const QStringList web{QStringLiteral("Forums"), QStringLiteral("Shops")};
    QTest::newRow("plain") << QStringLiteral("Web") << QStringLiteral("Shops")
                           << QStringLiteral(" Stores ")
                           << QStringList{QStringLiteral("Forums"), QStringLiteral("Stores")}
                           << QList<PromptRequest>{};
    QTest::newRow("own name") << QStringLiteral("Web") << QStringLiteral("Shops")
                              << QStringLiteral("Shops") << web << QList<PromptRequest>{};
    QTest::newRow("blank") << QStringLiteral("Web") << QStringLiteral("Shops")
                           << QStringLiteral("  ") << web << QList<PromptRequest>{errore()};
    QTest::newRow("no category") << QString() << QString() << QStringLiteral("Stores")
                                 << QStringList{} << QList<PromptRequest>{errore()};
    QTest::newRow("no line") << QStringLiteral("Web") << QString() << QStringLiteral("Stores")
                             << web
                             << QList<PromptRequest>{
                                    critical(QStringLiteral("Cannot Rename this SubCategory"))};
    QTest::newRow("clash") << QStringLiteral("Web") << QStringLiteral("Shops")
                           << QStringLiteral("forums") << web
                           << QList<PromptRequest>{
                                  critical(QStringLiteral("Cannot Rename this SubCategory"))};
}

void TestSubCategoryEditor::rename()
{
    QFETCH(QString, category);
    QFETCH(QString, selected);
    QFETCH(QString, typed);
    QFETCH(QStringList, lines);
    QFETCH(QList<PromptRequest>, asked);
    Fixture f;
    const qint16 shops = f.subCode(QStringLiteral("Web"), QStringLiteral("Shops"));
    frmSubCategory editor(f.t.services);
    editor.show();
    if (!category.isEmpty()) {
        QVERIFY(chooseItem(*editor.cboCategorie, category));
    }
    if (!selected.isEmpty()) {
        QVERIFY(clickLine(*editor.lstSubCateg, selected));
    }
    retype(editor.txtSubCateg, typed);
    QTest::mouseClick(editor.cmdRename, Qt::LeftButton);
    QCOMPARE(f.t.prompt.asked, asked);
    QCOMPARE(sorted(linesOf(*editor.lstSubCateg)), lines);
    QCOMPARE(f.subcategories(QStringLiteral("Web")),
             category.isEmpty() ? (QStringList{QStringLiteral("Forums"), QStringLiteral("Shops")})
                                : lines);
    QCOMPARE(f.store().SubCategoryName(shops), lines.contains(QStringLiteral("Stores"))
                                                   ? QStringLiteral("Stores")
                                                   : QStringLiteral("Shops"));
    editor.close();
}

void TestSubCategoryEditor::move_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("moved");
    QTest::newRow("OK to Mail") << QStringLiteral("ok") << QStringLiteral("Mail") << true;
    QTest::newRow("Enter to Bank") << QStringLiteral("enter") << QStringLiteral("Bank") << true;
    QTest::newRow("OK on own category") << QStringLiteral("ok") << QStringLiteral("Web") << false;
    QTest::newRow("Cancel") << QStringLiteral("cancel") << QStringLiteral("Mail") << false;
    QTest::newRow("Esc") << QStringLiteral("esc") << QStringLiteral("Mail") << false;
    QTest::newRow("close box") << QStringLiteral("close") << QStringLiteral("Mail") << false;
}

void TestSubCategoryEditor::move()
{
    QFETCH(QString, how);
    QFETCH(QString, target);
    QFETCH(bool, moved);
    Fixture f;
    const qint16 shops = f.subCode(QStringLiteral("Web"), QStringLiteral("Shops"));
    frmSubCategory editor(f.t.services);
    editor.show();
    QVERIFY(chooseItem(*editor.cboCategorie, QStringLiteral("Web")));
    QVERIFY(clickLine(*editor.lstSubCateg, QStringLiteral("Shops")));
    QString title;
    int entryIndex = -2;
    whenAsked([&](frmChangeCat &dialog) {
        title = dialog.windowTitle();
        entryIndex = dialog.cboCategorie->currentIndex();
        QVERIFY(chooseItem(*dialog.cboCategorie, target));
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
    QTest::mouseClick(editor.cmdChange, Qt::LeftButton);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QCOMPARE(title, QStringLiteral("Change Category"));
    QCOMPARE(entryIndex, editor.cboCategorie->findText(QStringLiteral("Web")));
    QCOMPARE(f.t.prompt.asked, QList<PromptRequest>{});
    QCOMPARE(editor.cboCategorie->currentText(), QStringLiteral("Web"));
    const QString owner = moved ? target : QStringLiteral("Web");
    QCOMPARE(f.store().SubCategoryName(shops), QStringLiteral("Shops"));
    QCOMPARE(f.subcategories(owner).contains(QStringLiteral("Shops")), true);
    QCOMPARE(linesOf(*editor.lstSubCateg).contains(QStringLiteral("Shops")), !moved);
    QCOMPARE(f.store().CountSubCategoryPasswords(f.code(owner), QStringLiteral("Shops")), 2);
    editor.close();
}

void TestSubCategoryEditor::moveWithoutSelection()
{
    Fixture f;
    frmSubCategory editor(f.t.services);
    editor.show();
    QVERIFY(chooseItem(*editor.cboCategorie, QStringLiteral("Web")));
    QTest::mouseClick(editor.cmdChange, Qt::LeftButton);
    QCOMPARE(f.t.prompt.asked, QList<PromptRequest>{errore()});
    QCOMPARE(f.subcategories(QStringLiteral("Web")),
             (QStringList{QStringLiteral("Forums"), QStringLiteral("Shops")}));
    editor.close();
}

void TestSubCategoryEditor::refusals_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<PromptRequest>("message");
    QTest::addColumn<QString>("storeError");
    QTest::newRow("delete, gone meanwhile")
        << QStringLiteral("delete") << critical(QStringLiteral("Cannot Delete This Subcategory!"))
        << QStringLiteral("There is no subcategory \"Forums\" in that category.");
    QTest::newRow("move, name taken there")
        << QStringLiteral("move") << critical(QStringLiteral("Cannot Change This SubCategory!"))
        << QStringLiteral("The category \"Mail\" already has a subcategory \"Forums\".");
}

void TestSubCategoryEditor::refusals()
{
    QFETCH(QString, action);
    QFETCH(PromptRequest, message);
    QFETCH(QString, storeError);
    Fixture f;
    frmSubCategory editor(f.t.services);
    editor.show();
    QVERIFY(chooseItem(*editor.cboCategorie, QStringLiteral("Web")));
    QVERIFY(clickLine(*editor.lstSubCateg, QStringLiteral("Forums")));
    if (action == QStringLiteral("delete")) {
        QVERIFY(f.store().DeleteSubCategory(f.code(QStringLiteral("Web")), QStringLiteral("Forums"),
                                            true));
        QTest::mouseClick(editor.cmdDel, Qt::LeftButton);
    } else {
        QVERIFY(f.store().AddSubCategory(f.code(QStringLiteral("Mail")), QStringLiteral("Forums")));
        whenAsked([](frmChangeCat &dialog) {
            QVERIFY(chooseItem(*dialog.cboCategorie, QStringLiteral("Mail")));
            QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
        });
        QTest::mouseClick(editor.cmdChange, Qt::LeftButton);
        QCOMPARE(f.subcategories(QStringLiteral("Web")),
                 (QStringList{QStringLiteral("Forums"), QStringLiteral("Shops")}));
    }
    QCOMPARE(f.t.prompt.asked, QList<PromptRequest>{message});
    QCOMPARE(f.store().LastError(), storeError);
    QCOMPARE(sorted(linesOf(*editor.lstSubCateg)),
             (QStringList{QStringLiteral("Forums"), QStringLiteral("Shops")}));
    editor.close();
}

void TestSubCategoryEditor::closing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("OK button") << QStringLiteral("ok");
    QTest::newRow("Esc") << QStringLiteral("esc");
    QTest::newRow("close box") << QStringLiteral("close");
}

void TestSubCategoryEditor::closing()
{
    QFETCH(QString, how);
    Fixture f;
    const QPointer<frmSubCategory> editor = dialogs::ShowSubCategoryEditor(f.t.services);
    QVERIFY(!f.main.widget.isEnabled());
    QVERIFY(!f.t.state.RefreshRequested());
    if (how == QStringLiteral("ok")) {
        QTest::mouseClick(editor->cmdOK, Qt::LeftButton);
    } else if (how == QStringLiteral("esc")) {
        QTest::keyClick(editor->lstSubCateg, Qt::Key_Escape);
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
}

QTEST_MAIN(TestSubCategoryEditor)
#include "test_subcategory_editor.moc"
