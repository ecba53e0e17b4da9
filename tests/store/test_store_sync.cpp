// Files shared between devices: the disk against the version last read or
// written, the three-way merge of a version saved elsewhere, and saves that
// never overwrite one.

#include "StoreFixtures.h"

#include <QDir>
#include <QTemporaryDir>

Q_DECLARE_METATYPE(DiskState)

namespace {

// A version of a file in short: "#Cat" and "#Cat/Sub" for the tree,
// "Service=password@Cat/Sub" (or "@Cat", or no place) for a record.
struct Item
{
    QString service, password, category, sub;
    explicit Item(const QString &text)
    {
        const QString place = text.section('@', 1);
        service = text.section('@', 0, 0).section('=', 0, 0);
        password = text.section('@', 0, 0).section('=', 1);
        category = place.section('/', 0, 0);
        sub = place.section('/', 1);
    }
};

qint16 categoryCode(const PasswordStore &s, const QString &name)
{
    const Category *c = s.Categories().Item(name);
    return c != nullptr ? c->codcat : qint16(0);
}

qint16 subCode(const PasswordStore &s, qint16 codcat, const QString &name)
{
    const SubCategory *sub = s.SubCategories().Item(QString::number(codcat) + '!' + name);
    return sub != nullptr ? sub->CodSCat : qint16(0);
}

PasswordEntry recordOf(const PasswordStore &s, const QString &text)
{
    const Item item(text);
    PasswordEntry e = makeRecord(item.service);
    e.Password = item.password;
    e.codcat = categoryCode(s, item.category);
    e.CodSCat = subCode(s, e.codcat, item.sub);
    return e;
}

// Makes the store hold exactly spec; tree entries are added in the order
// given, so the same spec can give other codes. Records are written anew,
// which leaves an unchanged one equal to what it was.
void reshape(PasswordStore &s, const QStringList &spec)
{
    std::vector<PasswordEntry> records(s.Passwords().begin(), s.Passwords().end());
    for (const PasswordEntry &e : records) {
        QVERIFY(s.DeletePassword(e.service));
    }
    for (const QString &t : spec.filter(QRegularExpression("^#"))) {
        const Item where(t.mid(1).prepend("x@"));
        if (categoryCode(s, where.category) == 0) {
            QVERIFY(s.AddCategory(where.category));
        }
        const qint16 cat = categoryCode(s, where.category);
        if (!where.sub.isEmpty() && subCode(s, cat, where.sub) == 0) {
            QVERIFY(s.AddSubCategory(cat, where.sub));
        }
    }
    const std::vector<SubCategory> subs(s.SubCategories().begin(), s.SubCategories().end());
    for (const SubCategory &sub : subs) {
        if (!spec.contains('#' + s.CategoryName(sub.codcat) + '/' + sub.DescrSCat)) {
            QVERIFY(s.DeleteSubCategory(sub.codcat, sub.DescrSCat, false));
        }
    }
    const std::vector<Category> cats(s.Categories().begin(), s.Categories().end());
    for (const Category &c : cats) {
        if (!spec.contains('#' + c.DescrCat)) {
            QVERIFY(s.DeleteCategory(c.DescrCat, false));
        }
    }
    for (const QString &r : spec) {
        if (!r.startsWith('#')) {
            QVERIFY(s.AddPassword(recordOf(s, r)));
        }
    }
}

// The store in the same short form, sorted.
QStringList shape(const PasswordStore &s)
{
    QStringList out;
    for (const Category &c : s.Categories()) {
        out << '#' + c.DescrCat;
    }
    for (const SubCategory &sub : s.SubCategories()) {
        out << '#' + s.CategoryName(sub.codcat) + '/' + sub.DescrSCat;
    }
    for (const PasswordEntry &e : s.Passwords()) {
        QString place = s.CategoryName(e.codcat);
        if (e.CodSCat != 0) {
            place += '/' + s.SubCategoryName(e.CodSCat);
        }
        out << e.service + '=' + e.Password + (place.isEmpty() ? "" : '@' + place);
    }
    out.sort();
    return out;
}

// The counts that are not zero, as "name=n".
QString counts(const DiskMergeResult &r)
{
    QStringList out;
    const std::pair<const char *, int> fields[] = {
        {"added", r.added},
        {"changed", r.changed},
        {"deleted", r.deleted},
        {"conflicts", r.conflicts},
        {"kept", r.kept},
        {"categoriesAdded", r.categoriesAdded},
        {"categoriesDeleted", r.categoriesDeleted},
        {"subcategoriesAdded", r.subcategoriesAdded},
        {"subcategoriesDeleted", r.subcategoriesDeleted}};
    for (const auto &[name, n] : fields) {
        if (n != 0) {
            out << QString("%1=%2").arg(name).arg(n);
        }
    }
    return out.join(' ');
}

} // namespace

class TestStoreSync : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void threeWayMerge_data();
    void threeWayMerge();
    void diskChanges();
    void savesMergeWhatWasSavedElsewhere();
    void passwordChangedElsewhere();
    void conflictCopies();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    // A store with the file f.vlm open, protected by "pw".
    std::unique_ptr<PasswordStore> open(const QString &password = "pw") const
    {
        auto s = std::make_unique<PasswordStore>();
        s->SetKdfParams(KdfParams::Minimum());
        if (!s->OpenFile(path("f.vlm"), password)) {
            qWarning() << s->LastError();
        }
        return s;
    }
    // Writes spec to f.vlm as another device would, from scratch.
    void write(const QStringList &spec, bool reversed = false) const
    {
        const auto s = newStore();
        QStringList order = spec;
        if (reversed) {
            std::reverse(order.begin(), order.end());
            // Categories before their subcategories all the same.
            std::stable_sort(order.begin(), order.end(), [](const QString &a, const QString &b) {
                return a.startsWith('#') && !a.contains('/') &&
                       !(b.startsWith('#') && !b.contains('/'));
            });
        }
        reshape(*s, order);
        s->SetPassword("pw");
        QVERIFY2(s->SaveFile(path("f.vlm"), false, false), qPrintable(s->LastError()));
    }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestStoreSync::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestStoreSync::threeWayMerge_data()
{
    QTest::addColumn<QStringList>("base");
    QTest::addColumn<QStringList>("ours");
    QTest::addColumn<QStringList>("theirs");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("counts");
    const QStringList base{"#Mail",      "#Mail/Work", "#Web", "Gmail=g@Mail", "Office=o@Mail/Work",
                           "Shop=s@Web", "Bank=b"};
    const auto with = [&base](const QStringList &more, const QStringList &less = {}) {
        QStringList v = base;
        for (const QString &item : less) {
            v.removeAll(item);
        }
        return v + more;
    };
    const auto row = [&base](const char *name, const QStringList &ours, const QStringList &theirs,
                             const QStringList &expected, const char *counts) {
        QTest::newRow(name) << base << ours << theirs << expected << QString(counts);
    };
    row("nothing changed", base, base, base, "");
    row("added on each side", with({"A=1"}), with({"B=2"}), with({"A=1", "B=2"}), "added=1");
    row("added alike", with({"A=1"}), with({"A=1"}), with({"A=1"}), "");
    row("added differently", with({"A=1"}), with({"A=2"}), with({"A=1", "A (changed elsewhere)=2"}),
        "conflicts=1");
    row("changed there", base, with({"Gmail=g2@Mail"}, {"Gmail=g@Mail"}),
        with({"Gmail=g2@Mail"}, {"Gmail=g@Mail"}), "changed=1");
    row("changed here", with({"Gmail=g2@Mail"}, {"Gmail=g@Mail"}), base,
        with({"Gmail=g2@Mail"}, {"Gmail=g@Mail"}), "");
    row("changed alike", with({"Gmail=g2@Mail"}, {"Gmail=g@Mail"}),
        with({"Gmail=g2@Mail"}, {"Gmail=g@Mail"}), with({"Gmail=g2@Mail"}, {"Gmail=g@Mail"}), "");
    row("changed differently", with({"Gmail=g2@Mail"}, {"Gmail=g@Mail"}),
        with({"Gmail=g3@Mail"}, {"Gmail=g@Mail"}),
        with({"Gmail=g2@Mail", "Gmail (changed elsewhere)=g3@Mail"}, {"Gmail=g@Mail"}),
        "conflicts=1");
    row("deleted there", base, with({}, {"Bank=b"}), with({}, {"Bank=b"}), "deleted=1");
    row("deleted here is not undone", with({}, {"Bank=b"}), base, with({}, {"Bank=b"}), "");
    row("deleted here, changed there", with({}, {"Bank=b"}), with({"Bank=b2"}, {"Bank=b"}),
        with({"Bank=b2"}, {"Bank=b"}), "kept=1");
    row("changed here, deleted there", with({"Bank=b2"}, {"Bank=b"}), with({}, {"Bank=b"}),
        with({"Bank=b2"}, {"Bank=b"}), "kept=1");
    row("moved there", base, with({"Shop=s@Mail/Work"}, {"Shop=s@Web"}),
        with({"Shop=s@Mail/Work"}, {"Shop=s@Web"}), "changed=1");
    row("new categories on each side, codes re-mapped", with({"#Games", "Chess=c@Games"}),
        with({"#Travel", "#Travel/Air", "Flight=f@Travel/Air"}),
        with({"#Games", "Chess=c@Games", "#Travel", "#Travel/Air", "Flight=f@Travel/Air"}),
        "added=1 categoriesAdded=1 subcategoriesAdded=1");
    row("category deleted there", base, with({}, {"#Web", "Shop=s@Web"}),
        with({}, {"#Web", "Shop=s@Web"}), "deleted=1 categoriesDeleted=1");
    row("category deleted there, a record added to it here", with({"Shop2=x@Web"}),
        with({}, {"#Web", "Shop=s@Web"}), with({"Shop2=x@Web"}, {"Shop=s@Web"}), "deleted=1");
    row("subcategory deleted here, its record changed there",
        with({}, {"#Mail/Work", "Office=o@Mail/Work"}),
        with({"Office=o2@Mail/Work"}, {"Office=o@Mail/Work"}),
        with({"Office=o2@Mail/Work"}, {"Office=o@Mail/Work"}), "kept=1 subcategoriesAdded=1");
    row("subcategory added on each side, names without case", with({"#Web/Shops"}),
        with({"#Web/shops", "Amazon=a@Web/shops"}), with({"#Web/Shops", "Amazon=a@Web/Shops"}),
        "added=1");
    row("service keyed without case", base, with({"GMAIL=g@Mail"}, {"Gmail=g@Mail"}),
        with({"GMAIL=g@Mail"}, {"Gmail=g@Mail"}), "changed=1");
    QTest::newRow("the name for the other version is taken")
        << with({"Gmail (changed elsewhere)=z"})
        << with({"Gmail (changed elsewhere)=z", "Gmail=g2@Mail"}, {"Gmail=g@Mail"})
        << with({"Gmail (changed elsewhere)=z", "Gmail=g3@Mail"}, {"Gmail=g@Mail"})
        << with({"Gmail (changed elsewhere)=z", "Gmail=g2@Mail",
                 "Gmail (changed elsewhere 2)=g3@Mail"},
                {"Gmail=g@Mail"})
        << "conflicts=1";
}

void TestStoreSync::threeWayMerge()
{
    QFETCH(QStringList, base);
    QFETCH(QStringList, ours);
    QFETCH(QStringList, theirs);
    QFETCH(QStringList, expected);
    QFETCH(QString, counts);
    write(base);
    const auto s = open();
    reshape(*s, ours);
    // The other device wrote its file anew, its tree in another order: every
    // code differs from ours.
    write(theirs, true);

    DiskMergeResult result;
    QCOMPARE(s->MergeChangesOnDisk(result), DiskReadStatus::Ok);
    expected.sort();
    QCOMPARE(shape(*s), expected);
    QCOMPARE(::counts(result), counts);
    QVERIFY(result.merged && s->Modified());

    // The merged version is the new base: merging it again changes nothing.
    QCOMPARE(s->MergeChangesOnDisk(result), DiskReadStatus::Ok);
    QVERIFY(!result.merged);
    QCOMPARE(shape(*s), expected);
    // Consistent codes: the file reader checks every reference.
    QVERIFY2(s->SaveFile(QString(), false, false), qPrintable(s->LastError()));
    QVERIFY(!s->LastDiskMerge().merged);
    QCOMPARE(shape(*open()), expected);
}

void TestStoreSync::diskChanges()
{
    const auto fresh = newStore();
    QCOMPARE(fresh->CheckDisk(), DiskState::NotOnDisk);
    write({"Bank=b"});
    const auto s = open();
    QCOMPARE(s->CheckDisk(), DiskState::Unchanged);
    QFile file(path("f.vlm"));
    const QDateTime then = QFileInfo(file).lastModified();
    QVERIFY(file.open(QIODevice::ReadWrite) &&
            file.setFileTime(then.addSecs(3600), QFileDevice::FileModificationTime));
    file.close();
    QCOMPARE(s->CheckDisk(), DiskState::Unchanged); // touched, same content

    // Saved again elsewhere, same records: a new nonce, the same size; then
    // its old time put back, as a sync tool may.
    const auto other = open();
    QVERIFY(other->SaveFile(QString(), false, false));
    QVERIFY(file.open(QIODevice::ReadWrite) &&
            file.setFileTime(then, QFileDevice::FileModificationTime));
    file.close();
    QCOMPARE(QFileInfo(file).size(), readAll(path("f.vlm")).size());
    QCOMPARE(s->CheckDisk(), DiskState::Changed);

    QVERIFY(QFile::rename(path("f.vlm"), path("away.vlm")));
    QCOMPARE(s->CheckDisk(), DiskState::Missing);
    QVERIFY(QDir(m_dir->path()).mkdir("f.vlm"));
    QCOMPARE(s->CheckDisk(), DiskState::Unreadable);
    QVERIFY(QDir(m_dir->path()).rmdir("f.vlm") && QFile::rename(path("away.vlm"), path("f.vlm")));

    // Reload in place: the other device's version, nothing left to save.
    QVERIFY(other->AddPassword(makeRecord("Mail")) && other->SaveFile(QString(), false, false));
    QVERIFY(s->AddPassword(makeRecord("Unsaved")));
    QCOMPARE(s->ReloadFile(), DiskReadStatus::Ok);
    QCOMPARE(shape(*s), QStringList({"Bank=b", "Mail=Mail-secret"}));
    QVERIFY(!s->Modified());
    QCOMPARE(s->CheckDisk(), DiskState::Unchanged);
}

void TestStoreSync::savesMergeWhatWasSavedElsewhere()
{
    write({"#Web", "Bank=b", "Gmail=g", "Shop=s@Web"});
    const auto a = open();
    const auto b = open();
    QVERIFY(b->AddCategory("Games") && b->AddPassword(recordOf(*b, "Chess=c@Games")));
    QVERIFY(b->DeletePassword("Bank") && b->SaveFile(QString(), true, false));
    const QByteArray written = readAll(path("f.vlm"));
    QVERIFY(a->AddCategory("Travel") && a->AddPassword(recordOf(*a, "Flight=f@Travel")));
    QVERIFY(a->UpdatePassword(recordOf(*a, "Gmail=g2"), "Gmail", 0, 0));
    QVERIFY2(a->SaveFile(QString(), true, false), qPrintable(a->LastError()));
    QCOMPARE(counts(a->LastDiskMerge()), "added=1 deleted=1 categoriesAdded=1");
    QVERIFY(!a->Modified());
    QCOMPARE(readAll(path("f.vlm.bak")), written); // the backup is the version merged
    const QStringList both{"#Games",          "#Travel",  "#Web",      "Chess=c@Games",
                           "Flight=f@Travel", "Gmail=g2", "Shop=s@Web"};
    QCOMPARE(shape(*open()), both);

    // And back: b's next save takes a's changes and brings nothing deleted back.
    QVERIFY(b->DeletePassword("Shop") && b->SaveFile(QString(), false, false));
    QCOMPARE(counts(b->LastDiskMerge()), "added=1 changed=1 categoriesAdded=1");
    QStringList last = both;
    last.removeAll("Shop=s@Web");
    QCOMPARE(shape(*open()), last);

    // A sync tool takes no lock: a version it puts there between the check
    // and the rename is merged too.
    QVERIFY(b->AddPassword(makeRecord("Late")) && b->SaveFile(path("late.vlm"), false, false));
    QVERIFY(a->AddPassword(makeRecord("Mine")));
    int saves = 0;
    a->SetSaveTargetFactory([&](const QString &target) {
        if (saves++ == 0) {
            writeBytes(target, readAll(path("late.vlm")));
        }
        return makeFileSaveTarget(target);
    });
    QVERIFY2(a->SaveFile(QString(), false, false), qPrintable(a->LastError()));
    QCOMPARE(counts(a->LastDiskMerge()), "added=1 deleted=1"); // b's Late, b's deletion of Shop
    const auto now = open();
    QVERIFY(now->Passwords().Contains("Late") && now->Passwords().Contains("Mine"));
    a->SetSaveTargetFactory(nullptr);

    // Save As to another file replaces it as asked: nothing to merge there.
    QVERIFY(a->AddPassword(makeRecord("Only")));
    const QStringList ours = shape(*a);
    QVERIFY(a->SaveFile(path("late.vlm"), false, false));
    QVERIFY(!a->LastDiskMerge().merged);
    QVERIFY(a->OpenFile(path("late.vlm"), "pw"));
    QCOMPARE(shape(*a), ours);
}

void TestStoreSync::passwordChangedElsewhere()
{
    write({"Bank=b"});
    const auto a = open();
    const auto b = open();
    b->SetPassword("new");
    QVERIFY(b->AddPassword(makeRecord("Mail")) && b->SaveFile(QString(), false, false));
    const QByteArray written = readAll(path("f.vlm"));

    QVERIFY(a->AddPassword(makeRecord("Ours")));
    QVERIFY(!a->SaveFile(QString(), true, false));
    QVERIFY2(a->LastError().contains("another password") &&
                 a->LastError().contains("nothing was saved"),
             qPrintable(a->LastError()));
    QCOMPARE(readAll(path("f.vlm")), written);
    QVERIFY(!QFile::exists(path("f.vlm.bak")));
    QVERIFY(a->Modified());

    DiskMergeResult result;
    QCOMPARE(a->MergeChangesOnDisk(result), DiskReadStatus::PasswordChanged);
    QCOMPARE(a->MergeChangesOnDisk("wrong", result), DiskReadStatus::PasswordChanged);
    QCOMPARE(a->MergeChangesOnDisk("new", result), DiskReadStatus::Ok);
    QCOMPARE(counts(result), "added=1");
    QVERIFY(a->SaveFile(QString(), false, false));
    QCOMPARE(shape(*open("new")), QStringList({"Bank=b", "Mail=Mail-secret", "Ours=Ours-secret"}));

    // A password set here since wins over the one on disk.
    a->SetPassword("mine");
    QVERIFY(b->AddPassword(makeRecord("Later")) && b->SaveFile(QString(), false, false));
    QVERIFY(a->SaveFile(QString(), false, false));
    QCOMPARE(counts(a->LastDiskMerge()), "added=1");
    QCOMPARE(open("mine")->Passwords().Count(), 4);

    // Reload with the new password once the held one fails.
    QCOMPARE(b->ReloadFile(), DiskReadStatus::PasswordChanged);
    QCOMPARE(b->ReloadFile("mine"), DiskReadStatus::Ok);
    QVERIFY(b->CheckPassword("mine") && b->Passwords().Count() == 4);
}

void TestStoreSync::conflictCopies()
{
    const QStringList copies{
        "f (Anna's conflicted copy 2024-01-02).VLM",
        "f (conflicted copy 2024-01-02 030405).vlm",
        "f.sync-conflict-20240102-030405-ABCDEF1.vlm",
        "f_conflict-20240102-030405.Vlm",
    };
    const QStringList others{"f.vlm",
                             "f.vlm.bak",
                             "g.sync-conflict-20240102-030405-ABCDEF1.vlm",
                             "f.sync-conflict-2024-ABCDEF1.vlm",
                             "f (conflicted copy).vlm",
                             "ff_conflict-20240102-030405.vlm",
                             "f_conflict-20240102-030405.vlm.bak"};
    for (const QString &name : copies + others) {
        QVERIFY(writeBytes(path(name), "x"));
    }
    QStringList expected;
    for (const QString &name : copies) {
        expected << path(name);
    }
    QCOMPARE(PasswordStore::ConflictCopies(path("f.vlm")), expected);
}

QTEST_GUILESS_MAIN(TestStoreSync)
#include "test_store_sync.moc"
