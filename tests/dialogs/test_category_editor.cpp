// The category and subcategory editors: each action's list, store, records and messages.

#include "DialogFixture.h"
#include "ListBoxSink.h"

#include <QTimer>

namespace {

const char *const Loaded = "Bank,Mail,Web";
const char *const WebSubs = "Forums,Shops";
const char *const All = "/,Mail/,Mail/,Mail/,Web/Shops,Web/Shops"; // the branches of the records
const QString Question = "There are %1 password in this %2.\rYES to Move, No to Delete, Cancel "
                         "to abort operation.";

struct Edit
{
    const char *name;
    const char *category; // the subcategory editor's choice; "-" for the category editor
    const char *before;   // the store changed behind the editor's back
    const char *select, *typed;
    const char *action; // a button, or "enter" in the name field
    const char *answer; // to the question, or "<category>:<way to close>" when moving
    const char *lines, *asked;
    const char *records = All;
};

const Edit Edits[] = {
    {"add", "-", "", "Bank", "  Cards  ", "cmdAdd", "", "Bank,Cards,Mail,Web", ""},
    {"add blanks", "-", "", "", "   ", "cmdAdd", "", Loaded, ""},
    {"add duplicate", "-", "", "", " mAIL ", "enter", "", Loaded,
     "You Cannot Duplicate Categories!"},
    {"delete empty", "-", "", "Bank", "", "cmdDel", "", "Mail,Web", ""},
    {"delete, yes moves", "-", "", "Mail", "", "cmdDel", "Yes", "Bank,Web", "category 3",
     "/,/,/,/,Web/Shops,Web/Shops"},
    {"delete, no deletes", "-", "", "Mail", "", "cmdDel", "No", "Bank,Web", "category 3",
     "/,Web/Shops,Web/Shops"},
    {"delete, cancel", "-", "", "Mail", "", "cmdDel", "Cancel", Loaded, "category 3"},
    {"delete nothing selected", "-", "", "", "", "cmdDel", "", Loaded, ""},
    {"delete, gone meanwhile", "-", "drop", "Bank", "", "cmdDel", "", Loaded,
     "Cannot Delete Category!"},
    {"rename, blanks kept", "-", "", "Mail", " Post ", "cmdRen", "", " Post ,Bank,Web", "",
     " Post /, Post /, Post /,/,Web/Shops,Web/Shops"},
    {"rename nothing selected", "-", "", "", "Post", "cmdRen", "", Loaded, "Errore"},
    {"rename clash", "-", "", "Mail", "bank", "cmdRen", "", Loaded, "Cannot Rename Category!"},
    {"sub add", "Bank", "", "", "  Cards ", "enter", "", "Cards", ""},
    {"sub add blanks", "Bank", "", "", "  ", "cmdAdd", "", "", ""},
    {"sub add duplicate", "Web", "", "", "shops", "cmdAdd", "", WebSubs,
     "Cannot duplicate SubCategory in the same Category!"},
    {"sub add, no category", "", "", "", "Cards", "cmdAdd", "", "", "Errore"},
    {"sub delete, yes moves", "Web", "", "Shops", "", "cmdDel", "Yes", "Forums", "Subcategory 2",
     "/,Mail/,Mail/,Mail/,Web/,Web/"},
    {"sub delete, no deletes", "Web", "", "Shops", "", "cmdDel", "No", "Forums", "Subcategory 2",
     "/,Mail/,Mail/,Mail/"},
    {"sub delete, cancel", "Web", "", "Shops", "", "cmdDel", "Cancel", WebSubs, "Subcategory 2"},
    {"sub delete, gone meanwhile", "Web", "drop", "Forums", "", "cmdDel", "", WebSubs,
     "Cannot Delete This Subcategory!"},
    {"sub rename", "Web", "", "Shops", " Stores ", "cmdRename", "", "Forums,Stores", "",
     "/,Mail/,Mail/,Mail/,Web/Stores,Web/Stores"},
    {"sub rename, own name", "Web", "", "Shops", "Shops", "cmdRename", "", WebSubs, ""},
    {"sub rename, no category", "", "", "", "Stores", "cmdRename", "", "", "Errore"},
    {"sub rename, no line", "Web", "", "", "Stores", "cmdRename", "", WebSubs,
     "Cannot Rename this SubCategory"},
    {"sub rename clash", "Web", "", "Shops", "forums", "cmdRename", "", WebSubs,
     "Cannot Rename this SubCategory"},
    {"sub move", "Web", "", "Shops", "", "cmdChange", "Mail:cmdOK", "Forums", "",
     "/,Mail/,Mail/,Mail/,Mail/Shops,Mail/Shops"},
    {"sub move by Enter", "Web", "", "Shops", "", "cmdChange", "Bank:enter", "Forums", "",
     "/,Bank/Shops,Bank/Shops,Mail/,Mail/,Mail/"},
    {"sub move, cancelled", "Web", "", "Shops", "", "cmdChange", "Mail:cmdCancel", WebSubs, ""},
    {"sub move, Esc", "Web", "", "Shops", "", "cmdChange", "Bank:esc", WebSubs, ""},
    {"sub move, closed", "Web", "", "Shops", "", "cmdChange", "Mail:close", WebSubs, ""},
    {"sub move, no line", "Web", "", "", "", "cmdChange", "", WebSubs, "Errore"},
    {"sub move, name taken there", "Web", "add", "Forums", "", "cmdChange", "Mail:cmdOK", WebSubs,
     "Cannot Change This SubCategory!"},
};

// What the store lists: the categories, or the subcategories of one.
QString listed(const PasswordStore &store, qint16 category)
{
    QListWidget list;
    dialogs::ListBoxSink sink(list);
    category < 0 ? store.FillCategoryList(sink, {}) : store.FillSubCategoryList(sink, category, {});
    return linesOf(list).join(',');
}

} // namespace

class TestCategoryEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void editing_data() { addRows(Edits); }
    void editing()
    {
        QFETCH(int, row);
        const Edit &e = Edits[row];
        const QString category = e.category, select = e.select, typed = e.typed, answer = e.answer;
        Fixture f;
        frmCategory categories(f.t.services);
        frmSubCategory subs(f.t.services);
        const bool sub = category != "-";
        QWidget *window = sub ? static_cast<QWidget *>(&subs) : &categories;
        QListWidget *list = sub ? subs.lstSubCateg : categories.lstCategorie;
        QLineEdit *field = sub ? subs.txtSubCateg : categories.txtcateg;
        window->show();
        if (sub && !category.isEmpty()) {
            // Another category first: the list is replaced, not added to.
            chooseItem(*subs.cboCategorie, "Web");
            chooseItem(*subs.cboCategorie, category);
        }
        if (QString(e.before) == "drop") {
            QVERIFY(sub ? f.store().DeleteSubCategory(f.code("Web"), select, true)
                        : f.store().DeleteCategory(select, true));
        } else if (QString(e.before) == "add") {
            QVERIFY(f.store().AddSubCategory(f.code("Mail"), select));
        }
        if (!select.isEmpty()) {
            clickLine(*list, select);
        }
        retype(field, typed);
        if (QString(e.action) == "cmdChange" && !select.isEmpty()) {
            // The category is changed in the dialog, then it is closed by a path.
            QTimer::singleShot(0, [answer] {
                auto *ask = qobject_cast<frmChangeCat *>(QApplication::activeModalWidget());
                chooseItem(*ask->cboCategorie, answer.section(':', 0, 0));
                closeDialog(*ask, answer.section(':', 1));
            });
        } else if (!answer.isEmpty()) {
            using platform::PromptAnswer;
            f.t.prompt.queue(answer == "Yes"  ? PromptAnswer::Yes
                             : answer == "No" ? PromptAnswer::No
                                              : PromptAnswer::Cancel);
        }
        const int count = list->count();
        if (QString(e.action) == "enter") {
            QTest::keyClick(field, Qt::Key_Return);
        } else {
            QTest::mouseClick(window->findChild<QPushButton *>(e.action), Qt::LeftButton);
        }
        QString asked = e.asked;
        if (!asked.isEmpty() && asked.back().isDigit()) {
            asked = Question.arg(asked.section(' ', 1), asked.section(' ', 0, 0));
        }
        QCOMPARE(f.asked(), asked.isEmpty() ? QStringList() : QStringList{asked});
        QCOMPARE(linesOf(*list).join(','), e.lines);
        if (QString(e.before).isEmpty() && !category.isEmpty()) {
            QCOMPARE(listed(f.store(), sub ? f.code(category) : -1), e.lines);
        }
        QStringList records; // their branches
        for (const PasswordEntry &r : f.store().Passwords()) {
            records << f.store().CategoryName(r.codcat) + '/' +
                           f.store().SubCategoryName(r.CodSCat);
        }
        records.sort();
        QCOMPARE(records.join(','), e.records);
        QCOMPARE(field->text(), list->count() > count ? QString() : typed);
        if (list->count() < count) {
            // A second Delete must not remove a line nobody chose.
            QCOMPARE(dialogs::SelectedRow(*list), -1);
        }
    }
};

QTEST_MAIN(TestCategoryEditor)
#include "test_category_editor.moc"
