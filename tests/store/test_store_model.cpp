// The store's in-memory behaviour: names, codes, the hierarchy operations,
// counts, fields and the Modified flag.

#include "StoreFixtures.h"

#include <functional>
#include <QDir>
#include <QTest>

class TestStoreModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void freshObjectHasNoFile();
    void collectionsAreOrderedAndCaseInsensitive();
    void namesAreUniqueIgnoringCase();
    void codesAreUniqueInTheFile();
    void codeExhaustionIsAnError();
    void recordsNeedValidPlacement();
    void deleteCategory_data();
    void deleteCategory();
    void deleteSubCategory_data();
    void deleteSubCategory();
    void copySubCategory();
    void moveSubCategoryKeepsCodeAndRecords();
    void moveCategoryToSubCategory();
    void renames();
    void counts();
    void getField_data();
    void getField();
    void updatePassword();
    void movePassword();
    void fillLists();
    void modifiedFlag();
    void checkPassword();
};

void TestStoreModel::freshObjectHasNoFile()
{
    PasswordStore store;
    QCOMPARE(store.FileName(), QString());
    QCOMPARE(store.Title(), QString());
    QVERIFY(!store.Modified());
    QVERIFY(!store.AddCategory(QStringLiteral("Web")));
    QVERIFY(!store.LastError().isEmpty());
    QVERIFY(store.NewFile());
    QCOMPARE(store.FileName(), QStringLiteral("<New VLM File>"));
    QCOMPARE(store.Title(), QStringLiteral("<New VLM File>"));
    QVERIFY(!store.Modified());
}

void TestStoreModel::collectionsAreOrderedAndCaseInsensitive()
{
    auto store = newStore();
    for (const char *name : {"beta", "Alpha", "gamma", "DELTA"}) {
        QVERIFY(store->AddPassword(makeRecord(QString::fromLatin1(name))));
        QVERIFY(store->AddCategory(QString::fromLatin1(name)));
    }
    QStringList services;
    for (const PasswordEntry &e : store->Passwords()) {
        services << e.service;
    }
    QCOMPARE(services, QStringList({"Alpha", "beta", "DELTA", "gamma"}));
    QStringList categories;
    for (const Category &c : store->Categories()) {
        categories << c.DescrCat;
    }
    QCOMPARE(categories, services);
    QVERIFY(store->Passwords().Item(QStringLiteral("ALPHA")) != nullptr);
    QCOMPARE(store->Passwords().Item(QStringLiteral("delta"))->service, QStringLiteral("DELTA"));
    QCOMPARE(store->Passwords().Count(), 4);
    QVERIFY(store->Passwords().Item(QStringLiteral("epsilon")) == nullptr);

    const qint16 beta = categoryCode(*store, QStringLiteral("beta"));
    QVERIFY(store->AddSubCategory(beta, QStringLiteral("zeta")));
    QVERIFY(store->AddSubCategory(beta, QStringLiteral("Eta")));
    const SubCategory *eta =
        store->SubCategories().Item(QString::number(beta) + QStringLiteral("!eta"));
    QVERIFY(eta != nullptr);
    QCOMPARE(eta->DescrSCat, QStringLiteral("Eta"));
    QCOMPARE(eta->codcat, beta);
}

void TestStoreModel::namesAreUniqueIgnoringCase()
{
    auto store = newStore();
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("Mail"))));
    QVERIFY(!store->AddPassword(makeRecord(QStringLiteral("MAIL"))));
    QVERIFY(store->LastError().contains(QStringLiteral("Mail")));
    QVERIFY(!store->AddPassword(makeRecord(QStringLiteral("   "))));

    QVERIFY(store->AddCategory(QStringLiteral("Work")));
    QVERIFY(!store->AddCategory(QStringLiteral("work")));
    QVERIFY(!store->AddCategory(QString()));
    QVERIFY(store->AddCategory(QStringLiteral("Home")));
    const qint16 work = categoryCode(*store, QStringLiteral("Work"));
    const qint16 home = categoryCode(*store, QStringLiteral("Home"));
    QVERIFY(store->AddSubCategory(work, QStringLiteral("Web")));
    QVERIFY(!store->AddSubCategory(work, QStringLiteral("WEB")));
    QVERIFY(store->AddSubCategory(home, QStringLiteral("web")));    // other category: allowed
    QVERIFY(!store->AddSubCategory(999, QStringLiteral("Orphan"))); // no such category
    QVERIFY(!store->RenameCategory(QStringLiteral("Home"), QStringLiteral("WORK")));
    QVERIFY(!store->RenameSubCategory(home, QStringLiteral("web"), QString()));
    QCOMPARE(store->Categories().Count(), 2);
    QCOMPARE(store->SubCategories().Count(), 2);
}

void TestStoreModel::codesAreUniqueInTheFile()
{
    auto store = newStore();
    QVERIFY(store->AddCategory(QStringLiteral("A")));
    QVERIFY(store->AddCategory(QStringLiteral("B")));
    const qint16 a = categoryCode(*store, QStringLiteral("A"));
    const qint16 b = categoryCode(*store, QStringLiteral("B"));
    QVERIFY(a > 0 && b > 0 && a != b);
    QVERIFY(store->AddSubCategory(a, QStringLiteral("Same")));
    QVERIFY(store->AddSubCategory(b, QStringLiteral("Same")));
    const qint16 sa = subCategoryCode(*store, a, QStringLiteral("Same"));
    const qint16 sb = subCategoryCode(*store, b, QStringLiteral("Same"));
    QVERIFY(sa > 0 && sb > 0 && sa != sb);
    QCOMPARE(store->SubCategoryName(sb), QStringLiteral("Same"));
    QCOMPARE(store->CategoryName(b), QStringLiteral("B"));
    QCOMPARE(store->CategoryName(0), QString());
    QCOMPARE(store->SubCategoryName(0), QString());
    QCOMPARE(store->SubCategoryName(12345), QString());
    // A deleted code is not handed out again while a higher one is free.
    QVERIFY(store->DeleteCategory(QStringLiteral("A"), true));
    QVERIFY(store->AddCategory(QStringLiteral("C")));
    QVERIFY(categoryCode(*store, QStringLiteral("C")) > b);
}

void TestStoreModel::codeExhaustionIsAnError()
{
    auto store = newStore();
    for (int i = 1; i <= 32767; ++i) {
        QVERIFY(store->AddCategory(QString::number(i)));
    }
    QCOMPARE(categoryCode(*store, QStringLiteral("32767")), qint16(32767));
    QVERIFY(!store->AddCategory(QStringLiteral("one too many")));
    QVERIFY(store->LastError().contains(QStringLiteral("32767")));
    // A gap left by a deletion is used, never a wrapped or negative code.
    QVERIFY(store->DeleteCategory(QStringLiteral("100"), true));
    QVERIFY(store->AddCategory(QStringLiteral("refill")));
    QCOMPARE(categoryCode(*store, QStringLiteral("refill")), qint16(100));
    QVERIFY(!store->AddCategory(QStringLiteral("again too many")));

    const qint16 owner = categoryCode(*store, QStringLiteral("1"));
    for (int i = 1; i <= 32767; ++i) {
        QVERIFY(store->AddSubCategory(owner, QString::number(i)));
    }
    QVERIFY(!store->AddSubCategory(categoryCode(*store, QStringLiteral("2")), QStringLiteral("x")));
    QVERIFY(!store->LastError().isEmpty());
}

void TestStoreModel::recordsNeedValidPlacement()
{
    auto store = newStore();
    QVERIFY(store->AddCategory(QStringLiteral("A")));
    QVERIFY(store->AddCategory(QStringLiteral("B")));
    const qint16 a = categoryCode(*store, QStringLiteral("A"));
    const qint16 b = categoryCode(*store, QStringLiteral("B"));
    QVERIFY(store->AddSubCategory(a, QStringLiteral("Sub")));
    const qint16 sub = subCategoryCode(*store, a, QStringLiteral("Sub"));
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("ok"), a, sub)));
    QVERIFY(!store->AddPassword(makeRecord(QStringLiteral("wrong owner"), b, sub)));
    QVERIFY(!store->AddPassword(makeRecord(QStringLiteral("no category"), 0, sub)));
    QVERIFY(!store->AddPassword(makeRecord(QStringLiteral("missing"), 77, 0)));
    QCOMPARE(store->Passwords().Count(), 1);
}

void TestStoreModel::deleteCategory_data()
{
    QTest::addColumn<bool>("keep");
    QTest::newRow("keep records") << true;
    QTest::newRow("delete records") << false;
}

void TestStoreModel::deleteCategory()
{
    QFETCH(bool, keep);
    auto store = newStore();
    QVERIFY(store->AddCategory(QStringLiteral("Gone")));
    QVERIFY(store->AddCategory(QStringLiteral("Stays")));
    const qint16 gone = categoryCode(*store, QStringLiteral("Gone"));
    const qint16 stays = categoryCode(*store, QStringLiteral("Stays"));
    QVERIFY(store->AddSubCategory(gone, QStringLiteral("Sub")));
    const qint16 sub = subCategoryCode(*store, gone, QStringLiteral("Sub"));
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("r1"), gone, sub)));
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("r2"), gone, 0)));
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("r3"), stays, 0)));
    store->SetNodeExpanded(QStringLiteral("Gone"), true);

    QVERIFY(store->DeleteCategory(QStringLiteral("GONE"), keep));
    QVERIFY(store->Categories().Item(QStringLiteral("Gone")) == nullptr);
    QCOMPARE(store->SubCategories().Count(), 0);
    QCOMPARE(store->SubCategoryName(sub), QString());
    QVERIFY(!store->GetNodeExpanded(QStringLiteral("Gone")));
    QCOMPARE(store->Passwords().Count(), keep ? 3 : 1);
    if (keep) {
        for (const char *s : {"r1", "r2"}) {
            const PasswordEntry *e = store->Passwords().Item(QString::fromLatin1(s));
            QCOMPARE(e->codcat, qint16(0));
            QCOMPARE(e->CodSCat, qint16(0));
        }
        QCOMPARE(store->CountCategoryPasswords(QString()), 2);
    }
    QCOMPARE(store->Passwords().Item(QStringLiteral("r3"))->codcat, stays);
    QVERIFY(!store->DeleteCategory(QStringLiteral("Gone"), keep));
}

void TestStoreModel::deleteSubCategory_data()
{
    deleteCategory_data();
}

void TestStoreModel::deleteSubCategory()
{
    QFETCH(bool, keep);
    auto store = newStore();
    QVERIFY(store->AddCategory(QStringLiteral("Cat")));
    const qint16 cat = categoryCode(*store, QStringLiteral("Cat"));
    QVERIFY(store->AddSubCategory(cat, QStringLiteral("Gone")));
    QVERIFY(store->AddSubCategory(cat, QStringLiteral("Stays")));
    const qint16 gone = subCategoryCode(*store, cat, QStringLiteral("Gone"));
    const qint16 stays = subCategoryCode(*store, cat, QStringLiteral("Stays"));
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("r1"), cat, gone)));
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("r2"), cat, gone)));
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("r3"), cat, stays)));

    QVERIFY(!store->DeleteSubCategory(cat + 1, QStringLiteral("Gone"), keep)); // wrong category
    QVERIFY(store->DeleteSubCategory(cat, QStringLiteral("gone"), keep));
    QCOMPARE(store->SubCategories().Count(), 1);
    QCOMPARE(store->Passwords().Count(), keep ? 3 : 1);
    QCOMPARE(store->CountSubCategoryPasswords(cat, QString()), keep ? 2 : 0);
    if (keep) {
        QCOMPARE(store->Passwords().Item(QStringLiteral("r1"))->codcat, cat);
        QCOMPARE(store->Passwords().Item(QStringLiteral("r1"))->CodSCat, qint16(0));
    }
    QCOMPARE(store->Passwords().Item(QStringLiteral("r3"))->CodSCat, stays);
}

void TestStoreModel::copySubCategory()
{
    auto store = newStore();
    QVERIFY(store->AddCategory(QStringLiteral("Old")));
    const qint16 old = categoryCode(*store, QStringLiteral("Old"));
    QVERIFY(store->AddSubCategory(old, QStringLiteral("Web")));
    const qint16 web = subCategoryCode(*store, old, QStringLiteral("Web"));
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("a"), old, web)));
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("b"), old, 0)));

    // A subcategory dragged onto the root becomes a category of the same name.
    QVERIFY(store->AddCategory(QStringLiteral("Web")));
    const qint16 fresh = categoryCode(*store, QStringLiteral("Web"));
    QVERIFY(store->CopySubCategory(old, fresh, QStringLiteral("Web"), true));
    QCOMPARE(subCategoryCode(*store, old, QStringLiteral("Web")), qint16(-1));
    QCOMPARE(store->Passwords().Item(QStringLiteral("a"))->codcat, fresh);
    QCOMPARE(store->Passwords().Item(QStringLiteral("a"))->CodSCat, qint16(0));
    QCOMPARE(store->Passwords().Item(QStringLiteral("b"))->codcat, old);
    QCOMPARE(store->CountCategoryPasswords(QStringLiteral("Web")), 1);

    // Flag false copies the folder alone: the original and its records stay.
    QVERIFY(store->AddSubCategory(old, QStringLiteral("Mail")));
    const qint16 mail = subCategoryCode(*store, old, QStringLiteral("Mail"));
    QVERIFY(store->MovePassword(QStringLiteral("b"), old, mail));
    QVERIFY(store->CopySubCategory(old, fresh, QStringLiteral("Mail"), false));
    const qint16 copy = subCategoryCode(*store, fresh, QStringLiteral("Mail"));
    QVERIFY(copy > 0 && copy != mail);
    QCOMPARE(subCategoryCode(*store, old, QStringLiteral("Mail")), mail);
    QCOMPARE(store->Passwords().Item(QStringLiteral("b"))->CodSCat, mail);
    QCOMPARE(store->CountSubCategoryPasswords(fresh, QStringLiteral("Mail")), 0);
    QVERIFY(!store->CopySubCategory(old, fresh, QStringLiteral("Mail"), false)); // clash
    QVERIFY(!store->CopySubCategory(old, 999, QStringLiteral("Mail"), true));
    QVERIFY(!store->CopySubCategory(old, fresh, QStringLiteral("None"), true));
}

void TestStoreModel::moveSubCategoryKeepsCodeAndRecords()
{
    auto store = newStore();
    QVERIFY(store->AddCategory(QStringLiteral("From")));
    QVERIFY(store->AddCategory(QStringLiteral("To")));
    const qint16 from = categoryCode(*store, QStringLiteral("From"));
    const qint16 to = categoryCode(*store, QStringLiteral("To"));
    QVERIFY(store->AddSubCategory(from, QStringLiteral("Web")));
    QVERIFY(store->AddSubCategory(from, QStringLiteral("Mail")));
    QVERIFY(store->AddSubCategory(to, QStringLiteral("mail")));
    const qint16 web = subCategoryCode(*store, from, QStringLiteral("Web"));
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("a"), from, web)));

    QVERIFY(store->MoveSubCategory(QStringLiteral("Web"), from, to));
    QCOMPARE(subCategoryCode(*store, to, QStringLiteral("Web")), web);
    QCOMPARE(subCategoryCode(*store, from, QStringLiteral("Web")), qint16(-1));
    QCOMPARE(store->Passwords().Item(QStringLiteral("a"))->codcat, to);
    QCOMPARE(store->Passwords().Item(QStringLiteral("a"))->CodSCat, web);
    QCOMPARE(store->CountSubCategoryPasswords(to, QStringLiteral("Web")), 1);

    QVERIFY(!store->MoveSubCategory(QStringLiteral("Mail"), from, to)); // "mail" exists there
    QVERIFY(store->LastError().contains(QStringLiteral("Mail")));
    QVERIFY(subCategoryCode(*store, from, QStringLiteral("Mail")) > 0);
}

void TestStoreModel::moveCategoryToSubCategory()
{
    auto store = newStore();
    for (const char *n : {"Target", "Flat", "Nested", "Clash"}) {
        QVERIFY(store->AddCategory(QString::fromLatin1(n)));
    }
    const qint16 target = categoryCode(*store, QStringLiteral("Target"));
    const qint16 flat = categoryCode(*store, QStringLiteral("Flat"));
    const qint16 nested = categoryCode(*store, QStringLiteral("Nested"));
    QVERIFY(store->AddSubCategory(nested, QStringLiteral("Inner")));
    QVERIFY(store->AddSubCategory(target, QStringLiteral("clash")));
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("r"), flat)));
    store->SetNodeExpanded(QStringLiteral("Flat"), true);

    QVERIFY(store->MoveCategoryToSubCategory(QStringLiteral("Flat"), target));
    QVERIFY(store->Categories().Item(QStringLiteral("Flat")) == nullptr);
    const qint16 sub = subCategoryCode(*store, target, QStringLiteral("Flat"));
    QVERIFY(sub > 0);
    QCOMPARE(store->Passwords().Item(QStringLiteral("r"))->codcat, target);
    QCOMPARE(store->Passwords().Item(QStringLiteral("r"))->CodSCat, sub);
    QCOMPARE(store->CategoryName(flat), QString());

    QVERIFY(!store->MoveCategoryToSubCategory(QStringLiteral("Nested"), target));
    QVERIFY(store->Categories().Item(QStringLiteral("Nested")) != nullptr);
    QVERIFY(!store->MoveCategoryToSubCategory(QStringLiteral("Clash"), target));
    QVERIFY(store->Categories().Item(QStringLiteral("Clash")) != nullptr);
    QVERIFY(!store->MoveCategoryToSubCategory(QStringLiteral("Target"), target));
}

void TestStoreModel::renames()
{
    auto store = newStore();
    QVERIFY(store->AddCategory(QStringLiteral("Old")));
    const qint16 code = categoryCode(*store, QStringLiteral("Old"));
    QVERIFY(store->AddSubCategory(code, QStringLiteral("sub")));
    const qint16 sub = subCategoryCode(*store, code, QStringLiteral("sub"));
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("r"), code, sub)));
    store->SetNodeExpanded(QStringLiteral("Old"), true);

    QVERIFY(store->RenameCategory(QStringLiteral("old"), QStringLiteral(" New ")));
    QCOMPARE(store->CategoryName(code), QStringLiteral(" New "));
    QCOMPARE(categoryCode(*store, QStringLiteral(" new ")), code);
    QVERIFY(store->GetNodeExpanded(QStringLiteral(" New ")));
    QVERIFY(store->RenameCategory(QStringLiteral(" New "), QStringLiteral(" NEW "))); // case only
    QCOMPARE(store->CategoryName(code), QStringLiteral(" NEW "));
    QVERIFY(store->RenameSubCategory(code, QStringLiteral("SUB"), QStringLiteral("Sub2")));
    QCOMPARE(store->SubCategoryName(sub), QStringLiteral("Sub2"));
    QCOMPARE(store->CountSubCategoryPasswords(code, QStringLiteral("sub2")), 1);
    QVERIFY(!store->RenameSubCategory(code, QStringLiteral("missing"), QStringLiteral("x")));
    QVERIFY(!store->RenameCategory(QStringLiteral("missing"), QStringLiteral("x")));
}

void TestStoreModel::counts()
{
    auto store = newStore();
    QVERIFY(store->AddCategory(QStringLiteral("Cat")));
    const qint16 cat = categoryCode(*store, QStringLiteral("Cat"));
    QVERIFY(store->AddSubCategory(cat, QStringLiteral("Sub")));
    const qint16 sub = subCategoryCode(*store, cat, QStringLiteral("Sub"));
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("none1"))));
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("none2"))));
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("flat"), cat)));
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("deep1"), cat, sub)));
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("deep2"), cat, sub)));
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("deep3"), cat, sub)));

    QCOMPARE(store->CountNodePasswords(store->Title()), 2);
    QCOMPARE(store->CountCategoryPasswords(QString()), 2);
    QCOMPARE(store->CountCategoryPasswords(QStringLiteral("cat")), 4);
    QCOMPARE(store->CountSubCategoryPasswords(cat, QString()), 1);
    QCOMPARE(store->CountSubCategoryPasswords(cat, QStringLiteral("Sub")), 3);
    QCOMPARE(store->CountCategoryPasswords(QStringLiteral("missing")), 0);
    QCOMPARE(store->CountSubCategoryPasswords(cat, QStringLiteral("missing")), 0);
    // Counts follow every change.
    QVERIFY(store->DeletePassword(QStringLiteral("deep1")));
    QVERIFY(store->MovePassword(QStringLiteral("none1"), cat, sub));
    QCOMPARE(store->CountSubCategoryPasswords(cat, QStringLiteral("Sub")), 3);
    QCOMPARE(store->CountNodePasswords(QString()), 1);
}

void TestStoreModel::getField_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("service");
    QTest::addColumn<QString>("expected");
    QTest::newRow("user") << 1 << "Bank"
                          << "Bank-user";
    QTest::newRow("password") << 2 << "Bank"
                              << "Bank-secret";
    QTest::newRow("notes") << 3 << "Bank"
                           << "notes of Bank";
    QTest::newRow("url") << 4 << "bank"
                         << "https://Bank.example";
    QTest::newRow("change url") << 5 << "Bank"
                                << "https://Bank.example/change";
    QTest::newRow("exp url") << 6 << "Bank"
                             << "https://Bank.example/delete";
    QTest::newRow("unknown number") << 7 << "Bank"
                                    << "";
    QTest::newRow("zero") << 0 << "Bank"
                          << "";
    QTest::newRow("unknown key") << 2 << "Nobody"
                                 << "";
}

void TestStoreModel::getField()
{
    QFETCH(int, field);
    QFETCH(QString, service);
    QFETCH(QString, expected);
    auto store = newStore();
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("Bank"))));
    QCOMPARE(store->GetField(field, service), expected);
}

void TestStoreModel::updatePassword()
{
    auto store = newStore();
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("Old"))));
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("Other"))));
    PasswordEntry changed = makeRecord(QStringLiteral("New"));
    changed.Password = QStringLiteral("changed");
    QVERIFY(store->UpdatePassword(changed, QStringLiteral("old"), 0, 0));
    QVERIFY(store->Passwords().Item(QStringLiteral("Old")) == nullptr);
    QCOMPARE(store->Passwords().Item(QStringLiteral("New"))->Password, QStringLiteral("changed"));
    QCOMPARE(store->Passwords().Count(), 2);

    PasswordEntry clash = makeRecord(QStringLiteral("OTHER"));
    QVERIFY(!store->UpdatePassword(clash, QStringLiteral("New"), 0, 0));
    QCOMPARE(store->Passwords().Item(QStringLiteral("New"))->Password, QStringLiteral("changed"));

    PasswordEntry recased = makeRecord(QStringLiteral("NEW"));
    QVERIFY(store->UpdatePassword(recased, QStringLiteral("New"), 0, 0));
    QCOMPARE(store->Passwords().Item(QStringLiteral("new"))->service, QStringLiteral("NEW"));
    QVERIFY(!store->UpdatePassword(recased, QStringLiteral("Missing"), 0, 0));
    QCOMPARE(store->Passwords().Count(), 2);
}

void TestStoreModel::movePassword()
{
    auto store = newStore();
    QVERIFY(store->AddCategory(QStringLiteral("Cat")));
    const qint16 cat = categoryCode(*store, QStringLiteral("Cat"));
    QVERIFY(store->AddSubCategory(cat, QStringLiteral("Sub")));
    const qint16 sub = subCategoryCode(*store, cat, QStringLiteral("Sub"));
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("r"), cat, sub)));
    // Dropped on "No Category": the tree hands over (0, -1).
    QVERIFY(store->MovePassword(QStringLiteral("r"), 0, -1));
    QCOMPARE(store->Passwords().Item(QStringLiteral("r"))->codcat, qint16(0));
    QCOMPARE(store->Passwords().Item(QStringLiteral("r"))->CodSCat, qint16(0));
    QVERIFY(store->MovePassword(QStringLiteral("R"), cat, sub));
    QCOMPARE(store->Passwords().Item(QStringLiteral("r"))->CodSCat, sub);
    QVERIFY(!store->MovePassword(QStringLiteral("r"), 42, 0));
    QVERIFY(!store->MovePassword(QStringLiteral("missing"), cat, 0));
    QCOMPARE(store->Passwords().Item(QStringLiteral("r"))->codcat, cat);
}

void TestStoreModel::fillLists()
{
    auto store = newStore();
    QVERIFY(store->AddCategory(QStringLiteral("b")));
    QVERIFY(store->AddCategory(QStringLiteral("A")));
    const qint16 a = categoryCode(*store, QStringLiteral("A"));
    const qint16 b = categoryCode(*store, QStringLiteral("b"));
    // Codes whose text shares a prefix must not leak into each other's list.
    for (int i = 0; i < 12; ++i) {
        QVERIFY(store->AddCategory(QStringLiteral("filler %1").arg(i)));
    }
    const qint16 c12 = categoryCode(*store, QStringLiteral("filler 10"));
    QVERIFY(store->AddSubCategory(a, QStringLiteral("y")));
    QVERIFY(store->AddSubCategory(a, QStringLiteral("X")));
    QVERIFY(store->AddSubCategory(c12, QStringLiteral("other")));

    RecordingList list;
    list.items.append({QStringLiteral("stale"), 99});
    store->FillCategoryList(list, QStringLiteral("-Nothing-"));
    QCOMPARE(list.items.size(), 15);
    QCOMPARE(list.items.at(0), qMakePair(QStringLiteral("-Nothing-"), 0));
    QCOMPARE(list.items.at(1), qMakePair(QStringLiteral("A"), int(a)));
    QCOMPARE(list.items.at(2), qMakePair(QStringLiteral("b"), int(b)));
    store->FillCategoryList(list, QString());
    QCOMPARE(list.items.size(), 14);
    QCOMPARE(list.items.at(0).first, QStringLiteral("A"));

    store->FillSubCategoryList(list, a, QString());
    QCOMPARE(list.items.size(), 2);
    QCOMPARE(list.items.at(0),
             qMakePair(QStringLiteral("X"), int(subCategoryCode(*store, a, QStringLiteral("X")))));
    QCOMPARE(list.items.at(1).first, QStringLiteral("y"));
    store->FillSubCategoryList(list, b, QStringLiteral("-Nothing-"));
    QCOMPARE(list.items.size(), 1);
}

void TestStoreModel::modifiedFlag()
{
    auto store = newStore();
    QVERIFY(store->AddCategory(QStringLiteral("Cat")));
    const qint16 cat = categoryCode(*store, QStringLiteral("Cat"));
    QVERIFY(store->AddSubCategory(cat, QStringLiteral("Sub")));
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("r"))));
    QVERIFY(store->Modified());

    using Change = std::function<bool(PasswordStore &)>;
    const QList<QPair<const char *, Change>> changes = {
        {"add category", [](PasswordStore &s) { return s.AddCategory(QStringLiteral("New")); }},
        {"rename category",
         [](PasswordStore &s) {
             return s.RenameCategory(QStringLiteral("Cat"), QStringLiteral("C"));
         }},
        {"add subcategory",
         [cat](PasswordStore &s) { return s.AddSubCategory(cat, QStringLiteral("Sub2")); }},
        {"delete subcategory",
         [cat](PasswordStore &s) { return s.DeleteSubCategory(cat, QStringLiteral("Sub"), true); }},
        {"add record",
         [](PasswordStore &s) { return s.AddPassword(makeRecord(QStringLiteral("x"))); }},
        {"move record",
         [cat](PasswordStore &s) { return s.MovePassword(QStringLiteral("r"), cat, 0); }},
        {"delete record", [](PasswordStore &s) { return s.DeletePassword(QStringLiteral("r")); }},
        {"set password",
         [](PasswordStore &s) {
             s.SetPassword(QStringLiteral("pw"));
             return true;
         }},
        {"delete category",
         [](PasswordStore &s) { return s.DeleteCategory(QStringLiteral("C"), true); }},
    };
    const QString path = QDir::temp().filePath(QStringLiteral("modified.VLM"));
    for (const auto &[name, change] : changes) {
        QVERIFY2(store->SaveFile(path, false, false), qPrintable(store->LastError()));
        QVERIFY(!store->Modified());
        store->SetNodeExpanded(QStringLiteral("Cat"), true);
        QVERIFY2(!store->Modified(), name);
        QVERIFY2(change(*store), name);
        QVERIFY2(store->Modified(), name);
    }
    // A refused change is no change.
    QVERIFY(store->SaveFile(QString(), false, false));
    QVERIFY(!store->AddCategory(QStringLiteral("New")));
    QVERIFY(!store->Modified());
    store->NewFile();
    QVERIFY(!store->Modified());
}

void TestStoreModel::checkPassword()
{
    auto store = newStore();
    QVERIFY(store->CheckPassword(QString()));
    QVERIFY(!store->CheckPassword(QStringLiteral("x")));
    store->SetPassword(QStringLiteral("s3cret ü"));
    QVERIFY(store->CheckPassword(QStringLiteral("s3cret ü")));
    QVERIFY(!store->CheckPassword(QStringLiteral("s3cret u")));
    QVERIFY(!store->CheckPassword(QString()));
    store->SetPassword(QString());
    QVERIFY(store->CheckPassword(QString()));
}

QTEST_GUILESS_MAIN(TestStoreModel)
#include "test_store_model.moc"
