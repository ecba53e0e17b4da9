// The store in memory (operations, Modified, fields, lists) and on disk (round trips, secrecy,
// bad files and payloads, backups, saves that cannot complete, import and merge).

#include "FileFormat.h"
#include "StoreFixtures.h"

#include <functional>
#include <QCborValue>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <sodium.h>

// One operation of the table, and the way to write it there.
using Op = std::function<bool(PasswordStore &)>;
Q_DECLARE_METATYPE(Op)
#define OP(body) Op([](PasswordStore &s) { return body; })

namespace {

// The fixture's tree plus a record with every odd value, saved under path.
std::unique_ptr<PasswordStore> sampleFile(const QString &path, const QString &password)
{
    auto store = newStore();
    fillTree(*store);
    PasswordEntry odd = makeRecord("Ünïcode ✓", 1, 2);
    odd.Dt_Insert = QDateTime();
    odd.Dt_Expire = QDate();
    odd.blChange = odd.blNotChange = true;
    odd.ggNotExpire = -32768;
    odd.ggNotChange = 32767;
    store->AddPassword(odd);
    store->SetPassword(password);
    return store->SaveFile(path, false, false) ? std::move(store) : nullptr;
}

// A real save file on a disk that is full after a number of bytes.
struct FailingTarget : SaveTarget, QSaveFile
{
    FailingTarget(const QString &path, qint64 bytes) : QSaveFile(path), budget(bytes) {}
    bool open() override { return QSaveFile::open(WriteOnly); }
    QIODevice &device() override { return *this; }
    bool commit() override { return QSaveFile::commit(); }
    QString errorString() const override { return QSaveFile::errorString(); }
    qint64 writeData(const char *data, qint64 len) override
    {
        if (budget <= 0) {
            setErrorString("No space left on device");
            return -1;
        }
        const qint64 n = std::min(len, budget);
        budget -= n;
        return QSaveFile::writeData(data, n);
    }
    qint64 budget;
};

// A payload written as JSON, where R(service, category, subcategory) stands
// for a whole record and F for the six texts after those three.
QByteArray payload(QString json)
{
    static const QRegularExpression record(R"(R\(([^)]*)\))");
    json.replace(record, R"([\1, F, null, null, null, null, 0, 0, 0])");
    json.replace("F", R"("u", "p", "n", "url", "c", "e")");
    return QCborValue::fromJsonValue(QJsonDocument::fromJson(json.toUtf8()).object()).toCbor();
}

} // namespace

class TestStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void operations_data();
    void operations();
    void fieldsAndLists();
    void roundTripsAndPasswords();
    void openAgain_data();
    void openAgain();
    void badFiles_data();
    void badFiles();
    void payloads_data();
    void payloads();
    void backups();
    void savesThatCannotComplete();
    void importAndMerge();
    void mergeRecords_data();
    void mergeRecords();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &name) const { return m_dir->filePath(name); }
};

void TestStore::operations_data()
{
    QTest::addColumn<Op>("op");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("after"); // "" = unchanged
    const auto row = [](const char *name, const Op &op, bool ok, const char *after = "") {
        QTest::newRow(name) << op << ok << QString(after);
    };
    // Refused, each of them: names are unique ignoring case (subcategory names
    // within their category), and every code and place must exist.
    row("refused folder operations",
        OP(s.AddCategory("web") || s.AddCategory(" ") || s.AddSubCategory(1, "SHOPS") ||
           s.AddSubCategory(1, " ") || s.AddSubCategory(9, "X") || s.DeleteCategory("Nope", true) ||
           s.DeleteSubCategory(2, "Shops", true) || s.CopySubCategory(1, 2, "NEWS", false) ||
           s.CopySubCategory(1, 9, "Shops", true) || s.CopySubCategory(1, 3, "None", true) ||
           s.MoveSubCategory("News", 1, 2) || s.MoveSubCategory("None", 1, 2) ||
           s.MoveSubCategory("News", 1, 9) || s.MoveCategoryToSubCategory("Mail", 3) ||
           s.MoveCategoryToSubCategory("Flat", 3) || s.MoveCategoryToSubCategory("None", 1) ||
           s.RenameCategory("Mail", "WEB") || s.RenameCategory("x", "y") ||
           s.RenameCategory("Mail", "") || s.RenameSubCategory(1, "Shops", "") ||
           s.RenameSubCategory(1, "Shops", "news") || s.RenameSubCategory(2, "Shops", "x")),
        false);
    row("refused record operations",
        OP(s.AddPassword(makeRecord("A")) || s.AddPassword(makeRecord("   ")) ||
           s.AddPassword(makeRecord("e", 2, 1)) || s.AddPassword(makeRecord("e", 0, 1)) ||
           s.AddPassword(makeRecord("e", 77, 0)) || s.MovePassword("a", 42, 0) ||
           s.MovePassword("a", 2, 1) || s.MovePassword("x", 1, 0) ||
           s.UpdatePassword(makeRecord("C"), "b", 1, 0) ||
           s.UpdatePassword(makeRecord("x"), "y", 0, 0) ||
           s.UpdatePassword(makeRecord(" "), "b", 1, 0) ||
           s.UpdatePassword(makeRecord("b", 2, 1), "b", 1, 0)),
        false);
    // A deleted code is not handed out again while a higher one is free.
    row("codes not reused, a subcategory name elsewhere",
        OP(s.DeleteCategory("Mail", true) && s.AddCategory("New") && s.AddSubCategory(4, "shops")),
        true, "Flat=3 New=4 Web=1|News=2@1 Shops=1@1 shops=3@4|a@1.1 b@1.0 c@0.0 f@3.0|Web Flat");
    row("delete subcategory with records", OP(s.DeleteSubCategory(1, "Shops", false)), true,
        "Flat=3 Mail=2 Web=1|News=2@1 news=3@2|b@1.0 c@2.0 f@3.0|Web Flat");
    // A subcategory dragged onto a category brings its records along; with the
    // flag false only an empty one of the same name is made there.
    row("copy subcategories",
        OP(s.CopySubCategory(1, 3, "Shops", true) && s.CopySubCategory(1, 3, "News", false)), true,
        "Flat=3 Mail=2 Web=1|News=2@1 news=3@2 News=4@3|a@3.0 b@1.0 c@2.0 f@3.0|Web Flat");
    row("move subcategory keeps its code", OP(s.MoveSubCategory("Shops", 1, 2)), true,
        "Flat=3 Mail=2 Web=1|News=2@1 news=3@2 Shops=1@2|a@2.1 b@1.0 c@2.0 f@3.0|Web Flat");
    row("category becomes subcategory", OP(s.MoveCategoryToSubCategory("flat", 2)), true,
        "Mail=2 Web=1|News=2@1 Shops=1@1 Flat=4@2 news=3@2|a@1.1 b@1.0 c@2.0 f@2.4|Web");
    row("category onto a subcategory name",
        OP(s.RenameCategory("Flat", "news") && s.MoveCategoryToSubCategory("news", 2)), false,
        "Mail=2 news=3 Web=1|News=2@1 Shops=1@1 news=3@2|a@1.1 b@1.0 c@2.0 f@3.0|Web");
    row("renames keep a category expanded",
        OP(s.RenameCategory("web", "New") && s.RenameSubCategory(1, "SHOPS", "Stores")), true,
        "Flat=3 Mail=2 New=1|News=2@1 Stores=1@1 news=3@2|a@1.1 b@1.0 c@2.0 f@3.0|Flat New");
    row("case only",
        OP(s.RenameCategory("Mail", "MAIL") && s.UpdatePassword(makeRecord("B"), "b", 1, 0)), true,
        "Flat=3 MAIL=2 Web=1|News=2@1 Shops=1@1 news=3@2|a@1.1 B@0.0 c@2.0 f@3.0|Web Flat");
    // Dropped on "No Category" the tree hands over (0, -1).
    row("move records", OP(s.MovePassword("A", 0, -1) && s.MovePassword("b", 2, 3)), true,
        "Flat=3 Mail=2 Web=1|News=2@1 Shops=1@1 news=3@2|a@0.0 b@2.3 c@2.0 f@3.0|Web Flat");
    row("move record where it is", OP(s.MovePassword("a", 1, 1)), true);
    row("names as they are, folder where it is",
        OP(s.RenameCategory("Mail", "Mail") && s.RenameSubCategory(1, "News", "News") &&
           s.MoveSubCategory("News", 1, 1)),
        true);
    // Only the view changes: nothing to save.
    row("expand and collapse",
        OP((s.SetNodeExpanded("mail", true), s.SetNodeExpanded("web", false), true)), true,
        "Flat=3 Mail=2 Web=1|News=2@1 Shops=1@1 news=3@2|a@1.1 b@1.0 c@2.0 f@3.0|Mail Flat");
}

void TestStore::operations()
{
    QFETCH(Op, op);
    QFETCH(bool, ok);
    QFETCH(QString, after);
    auto store = newStore();
    PasswordStore &s = *store;
    fillTree(s);
    QVERIFY(s.SaveFile(path("model.VLM"), false, false));
    const quint64 revision = s.Revision();

    QCOMPARE(op(s), ok);
    QCOMPARE(s.LastError().isEmpty(), ok);
    const QString now = dump(s);
    QCOMPARE(now, after.isEmpty() ? Initial : after);
    // Modified exactly when the content, not merely the view, changed; views
    // holding pointers to records learn of it by the revision.
    QCOMPARE(s.Modified(), now.section('|', 0, 2) != Initial.section('|', 0, 2));
    QCOMPARE(s.Revision() != revision, s.Modified());
}

// Records what a fill operation hands over.
class RecordingList : public ListSink
{
public:
    void Clear() override { items.clear(); }
    void AddItem(const QString &text, int data) override { items << text + QString::number(data); }
    QStringList items;
};

// Fields 1 to 6 by number; the lists the dialogs fill, where codes whose text
// shares a prefix (1, 12) must not leak into each other's list.
void TestStore::fieldsAndLists()
{
    auto store = newStore();
    fillTree(*store);
    QStringList texts = {store->GetField(2, "Nobody")};
    for (int field = 0; field <= 7; ++field) {
        texts << store->GetField(field, "A");
    }
    QCOMPARE(texts.join('|'), "||a-user|a-secret|notes of a|https://a.example|"
                              "https://a.example/change|https://a.example/delete|");
    for (int i = 4; i <= 12; ++i) {
        QVERIFY(store->AddCategory(QString("x%1").arg(i)));
    }
    RecordingList list;
    store->FillCategoryList(list, "-Nothing-");
    QCOMPARE(list.items.join(' '),
             "-Nothing-0 Flat3 Mail2 Web1 x1010 x1111 x1212 x44 x55 x66 x77 x88 x99");
    QVERIFY(store->AddSubCategory(12, "other"));
    store->FillSubCategoryList(list, 1, "");
    QCOMPARE(list.items.join(' '), "News2 Shops1");
    store->FillSubCategoryList(list, 3, "-Nothing-");
    QCOMPARE(list.items.join(' '), "-Nothing-0");
}

// Opening the open file once more reads it only when memory or disk could
// differ from it; otherwise only the password is checked.
void TestStore::openAgain_data()
{
    QTest::addColumn<Op>("between");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("read");

    const Op nothing = OP(!s.Modified());
    QTest::newRow("unchanged") << nothing << "Again.VLM"
                               << "pw" << false;
    QTest::newRow("unchanged, by a link") << nothing << "Link.VLM"
                                          << "pw" << false;
    QTest::newRow("unchanged, wrong password") << nothing << "Again.VLM"
                                               << "pq" << false;
    QTest::newRow("changed here") << OP(s.DeletePassword("a")) << "Again.VLM"
                                  << "pw" << true;
    QTest::newRow("saved elsewhere") << Op([](PasswordStore &s) {
        PasswordStore other;
        return other.OpenFile(s.FileName(), "pw") && other.DeletePassword("b") &&
               other.SaveFile("", false, false);
    }) << "Again.VLM"
                                     << "pw" << true;
}

void TestStore::openAgain()
{
    QFETCH(Op, between);
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(bool, read);
    const QString file = path("Again.VLM");
    QVERIFY(sampleFile(file, "pw"));
    QVERIFY(QFile::link(file, path("Link.VLM")));
    PasswordStore store;
    QVERIFY(store.OpenFile(file, "pw"));
    store.SetNodeExpanded("Mail", true); // a view change: not worth a read
    QVERIFY(between(store));
    const quint64 revision = store.Revision();
    const PasswordEntry *record = store.Passwords().Item("b");

    QCOMPARE(store.OpenFile(path(name), password), password == "pw");
    QCOMPARE(store.LastKdfNanoseconds() > 0, true); // the password was checked either way
    QCOMPARE(store.Revision() != revision, read);
    QCOMPARE(store.Passwords().Item("b") == record, !read);
    QVERIFY(!store.Modified());
    if (password != "pw") {
        QVERIFY(store.LastError().startsWith("Wrong password"));
        return;
    }
    PasswordStore fresh;
    QVERIFY(fresh.OpenFile(file, "pw"));
    QCOMPARE(dump(store).section('|', 0, 2), dump(fresh).section('|', 0, 2));
    // Still a sync base: a change saved elsewhere now merges in.
    QVERIFY(store.AddPassword(makeRecord("Z", 0, 0)));
    QVERIFY2(store.SaveFile("", false, false), qPrintable(store.LastError()));
    QVERIFY(fresh.OpenFile(file, "pw") && fresh.Passwords().Item("Z") != nullptr);
}

void TestStore::roundTripsAndPasswords()
{
    const QString file = path("Personal.VLM");
    const auto saved = sampleFile(file, "");
    QVERIFY(saved);
    // Without a password, then with one, none again, and one again (a fresh salt).
    for (const QString password : {"", "correct horse", "", "again"}) {
        saved->SetPassword(password);
        QVERIFY(saved->SaveFile("", false, false) && !saved->Modified());
        PasswordStore opened;
        QCOMPARE(opened.HasNoPassword(file), password.isEmpty());
        QVERIFY(password.isEmpty() || !opened.OpenFile(file, "correct horse x"));
        QVERIFY2(opened.OpenFile(file, password), qPrintable(opened.LastError()));
        QCOMPARE(opened.FileName() + opened.Title(), file + "Personal");
        QVERIFY(!opened.Modified() && opened.CheckPassword(password));
        // The strong default cost for new files gives way to a protected file's own.
        QCOMPARE(opened.LastKdfNanoseconds() > 0, !password.isEmpty());
        QCOMPARE(opened.GetKdfParams(),
                 password.isEmpty() ? KdfParams::Moderate() : KdfParams::Minimum());
        QCOMPARE(dump(opened), dump(*saved));
        // A password hides every text, in UTF-8 and UTF-16 (shorter ones turn up
        // in any bytes); without one they are there in clear: the check can fail.
        const QByteArray bytes = readAll(file);
        QCOMPARE(bytes.contains("Ünïcode ✓-secret"), password.isEmpty());
        for (const PasswordEntry &e : saved->Passwords()) {
            QVERIFY2(*opened.Passwords().Item(e.service) == e, qPrintable(e.service));
            for (const QString &text : {e.service, e.UserName, e.Password, e.Notes, e.URL}) {
                const QByteArray utf16(reinterpret_cast<const char *>(text.utf16()),
                                       text.size() * 2);
                QVERIFY2(password.isEmpty() || text.size() < 4 ||
                             (!bytes.contains(text.toUtf8()) && !bytes.contains(utf16)),
                         qPrintable(text));
            }
        }
    }
    // Invalid key derivation costs are ignored rather than producing an unreadable file.
    for (const KdfParams &bad : {KdfParams{0, 0}, KdfParams{KdfParams::MaxOps + 1, 1024},
                                 KdfParams{2, KdfParams::MaxMemKiB + 1}}) {
        saved->SetKdfParams(bad);
    }
    QCOMPARE(saved->GetKdfParams(), KdfParams::Minimum());
    QVERIFY(writeBytes(path("text.VLM"), "just some text"));
    QVERIFY(saved->HasNoPassword(path("text.VLM")) && saved->HasNoPassword(path("none.VLM")));
}

void TestStore::badFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, const char *kind, const QString &expected) {
        QTest::newRow(name) << kind << expected;
    };
    const QString notOurs = "is not a Vellumor password file", cut = "damaged: it is truncated";
    const QString altered = "damaged: its content was altered";
    const QString tooCostly = "asks for a costlier key derivation than Vellumor allows (at most 4 "
                              "passes over 1024 MiB)";
    const QString notValid = "damaged: its key derivation settings are not valid";
    row("folder", "folder", "is a folder");
    row("empty", "cut:0", notOurs);
    row("foreign", "flip:0", notOurs);
    row("newer", "u32:8:2", "newer version of Vellumor");
    row("unknown flags", "u32:10:3", "damaged: its header is inconsistent");
    row("wrong password", "wrong", "Wrong password");
    row("truncated before the version", "cut:9", cut);
    row("truncated in header", "cut:60", cut);
    row("truncated in payload", "cut:-10", cut);
    row("trailing data", "append", "damaged: it has data after its end");
    row("header byte", "flip:30", "damaged: its header was altered");
    row("payload byte", "flip:-40", altered);
    row("plain payload byte", "plainflip:130", altered);
    // Just past a cap is refused as well, before deriving: cheap to derive,
    // it would otherwise end as "wrong password".
    row("too many passes", "u32:16:5", tooCostly);
    row("memory just too large", "u32:20:1048577", tooCostly);
    row("memory at 32 bits", "u32:20:4294967295", tooCostly);
    row("no passes", "u32:16:0", notValid);
    row("memory too small", "u32:20:1", notValid);
}

void TestStore::badFiles()
{
    QFETCH(QString, kind);
    QFETCH(QString, expected);
    const QString op = kind.section(':', 0, 0), target = path("bad.VLM");
    const QString password = op == "plainflip" ? "" : "pw";
    QVERIFY(sampleFile(path("good.VLM"), password));
    QByteArray bytes = readAll(path("good.VLM"));
    const qsizetype arg = kind.section(':', 1, 1).toLongLong();
    const qsizetype at = arg >= 0 ? arg : bytes.size() + arg;
    if (op == "cut") {
        bytes.truncate(at);
    } else if (op == "append") {
        bytes += "xxx";
    } else if (op.endsWith("flip")) {
        bytes[at] ^= 0x01;
    } else if (op == "u32") { // a header field, with the header check put back
        qToLittleEndian<quint32>(kind.section(':', 2).toUInt(), bytes.data() + at);
        auto *header = reinterpret_cast<unsigned char *>(bytes.data());
        crypto_generichash(header + 104, 16, header, 104, nullptr, 0);
    }
    QVERIFY(op == "folder" ? QDir().mkdir(target) : writeBytes(target, bytes));
    // What was open before a failed open stays exactly as it was.
    auto store = newStore();
    QVERIFY(store->AddPassword(makeRecord("unsaved")));
    QVERIFY(!store->OpenFile(target, op == "wrong" ? "PW" : password));
    QVERIFY2(store->LastError().contains(expected), qPrintable(store->LastError()));
    QVERIFY(store->LastError().contains(QDir::toNativeSeparators(target)));
    QVERIFY(store->FileName() == "<New VLM File>" && store->Modified());
    QCOMPARE(dump(*store), "||unsaved@0.0|");
    QVERIFY(op != "u32" || store->LastKdfNanoseconds() == 0); // refused before any derivation
}

void TestStore::payloads_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QString>("detail"); // "" = valid
    const auto row = [](const char *name, const QString &json, const char *detail) {
        QTest::newRow(name) << payload(json) << QString(detail);
    };
    // Two categories and a subcategory, then one more section.
    const QString base = R"({"categories": [[1, "Web"], [2, "Mail"]], )"
                         R"("subcategories": [[7, 1, "Shops"]], %1})";
    const auto with = [&base](const char *more) { return base.arg(more); };
    const char *bad = "a record has no service name or a missing category";
    row("valid", with(R"("passwords": [R("a", 1, 7), R("b", 0, 0)])"), "");
    row("unknown section skipped", with(R"("later": [1, 2])"), "");
    row("longer record accepted", with(R"("passwords": [["a", 0, 0, F, 0, 0, 0, 0, 0, 0, 0, 1]])"),
        "");
    row("same service ignoring case", with(R"("passwords": [R("M", 0, 0), R("m", 0, 0)])"),
        "two records share a service name");
    row("empty service", with(R"("passwords": [R("", 0, 0)])"), bad);
    row("missing category", with(R"("passwords": [R("a", 3, 0)])"), bad);
    row("subcategory of other category", with(R"("passwords": [R("a", 2, 7)])"), bad);
    row("subcategory without category", with(R"("passwords": [R("a", 0, 7)])"), bad);
    row("category code 0", R"({"categories": [[0, "Zero"]]})", "\"categories\" is damaged");
    row("category code too big", R"({"categories": [[40000, "B"]]})", "\"categories\" is damaged");
    row("same category name", R"({"categories": [[1, "Web"], [2, "WEB"]]})",
        "two categories share a code or a name");
    row("same subcategory code", with(R"("subcategories": [[7, 1, "A"], [7, 2, "B"]])"),
        "two subcategories share a code or a name");
    row("orphan subcategory", with(R"("subcategories": [[7, 9, "A"]])"), "no name or no category");
    row("subcategory code as text", with(R"("subcategories": [["x", 1, "A"]])"),
        "\"subcategories\" is damaged");
    row("record not a list", with(R"("passwords": [1])"), "\"passwords\" is damaged");
    row("short record", with(R"("passwords": [["a", 0, 0, "u"]])"), "\"passwords\" is damaged");
    row("text for a number", with(R"("passwords": [["a", "x", 0]])"), "\"passwords\" is damaged");
    row("date out of range", with(R"("passwords": [["a", 0, 0, F, 0, 0, -1, 0, 0, 0, 0]])"),
        "\"passwords\" is damaged");
    // Lists that declare 1.6 billion entries, then a stray break: the decoder
    // once took the break for endless empty texts.
    const auto hex = [](const char *name, const char *bytes, const char *detail) {
        QTest::newRow(name) << QByteArray::fromHex(bytes) << QString(detail);
    };
    hex("break inside a counted list",
        "bf6a63612d73656370696f6ea16776657273696f6e0268657870616e6465"
        "649a634361746c636f6c6f753a7260626c7565ff6d73756a6a65",
        "\"expanded\" is damaged");
    hex("break in categories", "a16a63617465676f726965739a7fffffffff61616161", "damaged");
    hex("break in passwords", "a16970617373776f7264739a7fffffffff61616161", "damaged");
    hex("text longer than payload", "a168657870616e646564817a7fffffff6161",
        "\"expanded\" is damaged");
    hex("huge list, no elements", "a16870617373776f7264739b7fffffffffffffff",
        "\"password\" is damaged");
    hex("not a map", "820102", "the content is not a map");
    hex("map never closed", "bf6865787061646564", "a section has no name");
}

void TestStore::payloads()
{
    QFETCH(QByteArray, payload);
    QFETCH(QString, detail);
    FileContent content;
    QString got;
    QCOMPARE(vlmfile::decodePayload(payload, content, got), detail.isEmpty());
    QVERIFY2(detail.isEmpty() ? got.isEmpty() : got.contains(detail), qPrintable(got));
    QVERIFY(content.expandedNodes.size() < 16);
    // Trailing bytes after a valid payload are refused as well.
    QVERIFY(!vlmfile::decodePayload(payload + '\0', content, got));
}

void TestStore::backups()
{
    const QString file = path("backed.VLM");
    auto store = sampleFile(file, "");
    QVERIFY(store);
    QDateTime now(QDate(2026, 3, 1), QTime(12, 0, 0));
    store->SetClock([&now] { return now; });
    // The plain backup holds the file as it was before each save; of twelve
    // history saves, two in the same second, the ten newest stay.
    QByteArray previous;
    for (int i = 0; i < 14; ++i) {
        previous = readAll(file);
        QVERIFY(store->AddPassword(makeRecord(QString("h%1").arg(i))));
        QVERIFY(store->SaveFile("", i < 2, i >= 2));
        QVERIFY(i >= 2 || readAll(file + ".bak") == previous);
        now = now.addSecs(i == 7 ? 0 : 61);
    }
    const QStringList history =
        QDir(m_dir->path()).entryList({"backed.VLM.2*.bak"}, QDir::Files, QDir::Name);
    QCOMPARE(history.size(), 10);
    QCOMPARE(history.first(), "backed.VLM.20260301-120404.bak");
    QVERIFY(history.contains("backed.VLM.20260301-120707-2.bak"));
    QCOMPARE(readAll(m_dir->filePath(history.last())), previous);
    QVERIFY(QFileInfo::exists(file + ".bak")); // not touched by the pruning
}

void TestStore::savesThatCannotComplete()
{
    PasswordStore none;
    QVERIFY(!none.SaveFile(path("x.VLM"), false, false));
    auto store = newStore();
    QVERIFY(!store->SaveFile("", false, false)); // a new file has no name yet
    QVERIFY(!store->LastError().isEmpty() && !QFileInfo::exists(path("x.VLM")));
    const QString file = path("full.VLM");
    QVERIFY(store->SaveFile(file, false, false));
    const QByteArray before = readAll(file);
    QVERIFY(store->AddPassword(makeRecord("pending")));
    QVERIFY(!store->SaveFile(path("no/such/folder/x.VLM"), false, false));
    QVERIFY(store->LastError().contains("could not be saved"));
    QCOMPARE(store->FileName(), file);
    // No byte, one, the header only, all but one; and a backup that fails.
    for (const qint64 budget : {0LL, 1LL, 120LL, before.size() + 39LL, -10LL}) {
        store->SetSaveTargetFactory([budget](const QString &target) {
            return std::make_unique<FailingTarget>(target, std::abs(budget));
        });
        QVERIFY(!store->SaveFile("", budget < 0, false) && store->Modified());
        QVERIFY2(store->LastError().contains("No space left on device"),
                 qPrintable(store->LastError()));
        QCOMPARE(readAll(file), before);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"full.VLM"});
    }
    // Once the device works again, the same data saves.
    store->SetSaveTargetFactory(nullptr);
    QVERIFY(store->SaveFile("", true, true));
    PasswordStore check;
    QVERIFY(check.OpenFile(file, "") && check.Passwords().Item("pending") != nullptr);
}

void TestStore::importAndMerge()
{
    const QString other = path("other.VLM");
    QVERIFY(sampleFile(other, "theirs"));
    auto store = newStore();
    QVERIFY(store->AddCategory("Filler") && store->AddCategory("WEB"));
    QVERIFY(store->AddPassword(makeRecord("A")) && store->AddPassword(makeRecord("a (2)")));
    // Import brings the missing folders alone, with codes of this file and
    // names as they were here.
    QVERIFY(store->ImportFile(other, "theirs"));
    const QString folders = "Filler=1 Flat=3 Mail=4 WEB=2|News=1@2 Shops=2@2 news=3@4|";
    QCOMPARE(dump(*store), folders + "A@0.0 a (2)@0.0|");
    // Merge brings the records too, one whose name is taken renamed; a second
    // merge finds them all.
    MergeResult r;
    QVERIFY(store->MergeFile(other, "theirs", r));
    QCOMPARE(QList<int>({r.added, r.renamed, r.skipped}), QList<int>({4, 1, 0}));
    QCOMPARE(dump(*store), folders + "A@0.0 a (2)@0.0 a (3)@2.2 b@2.0 c@4.0 f@3.0 Ünïcode ✓@2.1|");
    QCOMPARE(store->Passwords().Item("a (3)")->Password, "a-secret");
    QVERIFY(store->MergeFile(other, "theirs", r));
    QCOMPARE(QList<int>({r.added, r.renamed, r.skipped}), QList<int>({0, 0, 5}));
}

void TestStore::mergeRecords_data()
{
    // Each record "service|category|subcategory[|password]"; the fixture's
    // records carry makeRecord's password, so the same service with it is identical.
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QList<int>>("counts"); // added, renamed, skipped, unnamed
    const QString tree = "Flat=3 Mail=2 Web=1|News=2@1 Shops=1@1 news=3@2|";
    QTest::newRow("folders found ignoring case")
        << QStringList{"x|web|SHOPS", "y|MAIL|", "z||"}
        << tree + "a@1.1 b@1.0 c@2.0 f@3.0 x@1.1 y@2.0 z@0.0|" << QList<int>{3, 0, 0, 0};
    QTest::newRow("new folders made once")
        << QStringList{"x|Bank|Cards", "y|bank|cards", "z|Mail|Old"}
        << "Bank=4 Flat=3 Mail=2 Web=1|News=2@1 Shops=1@1 news=3@2 Old=5@2 Cards=4@4|"
           "a@1.1 b@1.0 c@2.0 f@3.0 x@4.4 y@4.4 z@2.5|"
        << QList<int>{3, 0, 0, 0};
    QTest::newRow("subcategory alone is a category, blank is none")
        << QStringList{"x||Travel", "y| |  ", "z|web| "}
        << "Flat=3 Mail=2 Travel=4 Web=1|News=2@1 Shops=1@1 news=3@2|"
           "a@1.1 b@1.0 c@2.0 f@3.0 x@4.0 y@0.0 z@1.0|"
        << QList<int>{3, 0, 0, 0};
    // As MergeFile: identical skipped (also the copy a former merge renamed),
    // different renamed, and the same within the records brought in.
    QTest::newRow("identical, renamed, repeated")
        << QStringList{"a|WEB|shops", "b|Web||new", "b|Web||new", "b|Web||newer", "c|Flat|"}
        << tree + "a@1.1 b@1.0 b (2)@1.0 b (3)@1.0 c@2.0 c (2)@3.0 f@3.0|"
        << QList<int>{0, 3, 2, 0};
    QTest::newRow("blank services left out")
        << QStringList{"|Web|", "  |Bank|"} << tree + "a@1.1 b@1.0 c@2.0 f@3.0|"
        << QList<int>{0, 0, 0, 2};
}

void TestStore::mergeRecords()
{
    QFETCH(QStringList, records);
    QFETCH(QString, after);
    QFETCH(QList<int>, counts);
    auto store = newStore();
    fillTree(*store);
    std::vector<NamedRecord> in;
    for (const QString &text : records) {
        const QStringList parts = text.split('|');
        PasswordEntry e = makeRecord(parts[0], 77, 99); // codes are ignored
        if (parts.size() > 3) {
            e.Password = parts[3];
        }
        in.push_back({e, parts[1], parts[2]});
    }
    QVERIFY(store->SaveFile(path("m.VLM"), false, false));
    MergeResult r;
    QVERIFY2(store->MergeRecords(in, r), qPrintable(store->LastError()));
    QCOMPARE(dump(*store).section('|', 0, 2) + '|', after);
    QCOMPARE(QList<int>({r.added, r.renamed, r.skipped, r.unnamed}), counts);
    QCOMPARE(store->Modified(), dump(*store).section('|', 0, 2) != Initial.section('|', 0, 2));
    // The same again finds everything there.
    QVERIFY(store->MergeRecords(in, r));
    QCOMPARE(r.added + r.renamed, 0);
    PasswordStore closed;
    QVERIFY(!closed.MergeRecords(in, r) && closed.Passwords().Count() == 0);
}

QTEST_GUILESS_MAIN(TestStore)
#include "test_store.moc"
