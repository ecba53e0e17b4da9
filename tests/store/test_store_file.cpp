// The password file on disk: round trips, secrecy, every kind of bad file,
// backups, permissions and saves that cannot complete.

#include "FileFormat.h"
#include "StoreFixtures.h"

#include <functional>
#include <QBuffer>
#include <QCborArray>
#include <QCborMap>
#include <QCborValue>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QTest>
#include <sodium.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Puts the header check back after a test changed a header field, so the
// change reaches the check that is meant to catch it.
void resealHeader(QByteArray &bytes)
{
    crypto_generichash(reinterpret_cast<unsigned char *>(bytes.data()) + 104, 16,
                       reinterpret_cast<const unsigned char *>(bytes.constData()), 104, nullptr, 0);
}

// A store with one of everything, saved under path.
std::unique_ptr<PasswordStore> sampleFile(const QString &path, const QString &password)
{
    auto store = newStore();
    store->AddCategory(QStringLiteral("Banking"));
    const qint16 bank = categoryCode(*store, QStringLiteral("Banking"));
    store->AddSubCategory(bank, QStringLiteral("Cards"));
    const qint16 cards = subCategoryCode(*store, bank, QStringLiteral("Cards"));
    store->AddPassword(makeRecord(QStringLiteral("Visa"), bank, cards));
    store->AddPassword(makeRecord(QStringLiteral("Giro"), bank, 0));
    PasswordEntry odd = makeRecord(QStringLiteral("Ünïcode ✓"));
    odd.Dt_Insert = QDateTime();
    odd.Dt_Expire = QDate();
    odd.blChange = true;
    odd.blNotChange = true;
    odd.ggNotExpire = -32768;
    odd.ggNotChange = 32767;
    store->AddPassword(odd);
    store->SetNodeExpanded(QStringLiteral("Banking"), true);
    store->SetPassword(password);
    if (!store->SaveFile(path, false, false)) {
        qWarning("%s", qPrintable(store->LastError()));
        return nullptr;
    }
    return store;
}

class FailingDevice : public QIODevice
{
public:
    FailingDevice(QIODevice &inner, qint64 budget) : m_inner(inner), m_budget(budget)
    {
        open(QIODevice::WriteOnly);
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 len) override
    {
        if (m_budget <= 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        const qint64 n = std::min(len, m_budget);
        m_budget -= n;
        return m_inner.write(data, n);
    }

private:
    QIODevice &m_inner;
    qint64 m_budget;
};

// A real QSaveFile behind a device that gives up after a number of bytes.
class FailingTarget : public SaveTarget
{
public:
    FailingTarget(const QString &path, qint64 budget) : m_file(path), m_failing(m_file, budget) {}
    bool open() override { return m_file.open(QIODevice::WriteOnly); }
    QIODevice &device() override { return m_failing; }
    bool commit() override { return m_file.commit(); }
    QString errorString() const override { return m_failing.errorString(); }

private:
    QSaveFile m_file;
    FailingDevice m_failing;
};

} // namespace

class TestStoreFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void roundTrip_data();
    void roundTrip();
    void protectedFileHidesEveryText();
    void hasNoPassword();
    void badFiles_data();
    void badFiles();
    void craftedKdfCostIsRefused();
    void payloadRulesAreChecked_data();
    void payloadRulesAreChecked();
    void malformedEncodingIsRefused_data();
    void malformedEncodingIsRefused();
    void passwordChangeAndRemoval();
    void kdfParametersTravelWithTheFile();
    void backups();
    void permissionsAreOwnerOnly();
    void failingDeviceKeepsOldFile_data();
    void failingDeviceKeepsOldFile();
    void unwritablePlaces();
    void newFileNeedsAName();
    void importAddsOnlyMissingFolders();
    void mergeBringsRecords();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &name) const { return m_dir->filePath(name); }
};

void TestStoreFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestStoreFile::roundTrip_data()
{
    QTest::addColumn<QString>("password");
    QTest::newRow("protected") << QStringLiteral("correct horse");
    QTest::newRow("no password") << QString();
}

void TestStoreFile::roundTrip()
{
    QFETCH(QString, password);
    const QString file = path(QStringLiteral("Personal.VLM"));
    const auto saved = sampleFile(file, password);
    QVERIFY(saved);
    QCOMPARE(saved->FileName(), file);
    QCOMPARE(saved->Title(), QStringLiteral("Personal"));
    QVERIFY(!saved->Modified());

    PasswordStore opened;
    QVERIFY2(opened.OpenFile(file, password), qPrintable(opened.LastError()));
    QCOMPARE(opened.FileName(), file);
    QCOMPARE(opened.Title(), QStringLiteral("Personal"));
    QVERIFY(!opened.Modified());
    QVERIFY(opened.CheckPassword(password));
    QCOMPARE(opened.Passwords().Count(), 3);
    for (const PasswordEntry &e : saved->Passwords()) {
        const PasswordEntry *back = opened.Passwords().Item(e.service);
        QVERIFY(back != nullptr);
        QVERIFY2(*back == e, qPrintable(e.service));
    }
    QCOMPARE(opened.Categories().Count(), 1);
    const qint16 bank = categoryCode(opened, QStringLiteral("Banking"));
    QCOMPARE(bank, categoryCode(*saved, QStringLiteral("Banking")));
    QCOMPARE(subCategoryCode(opened, bank, QStringLiteral("Cards")),
             subCategoryCode(*saved, bank, QStringLiteral("Cards")));
    QVERIFY(opened.GetNodeExpanded(QStringLiteral("banking")));
    QVERIFY(!opened.GetNodeExpanded(QStringLiteral("Cards")));
    // Saving again under the current name works without a new key derivation.
    QVERIFY(opened.DeletePassword(QStringLiteral("Giro")));
    QVERIFY(opened.SaveFile(QString(), false, false));
    PasswordStore third;
    QVERIFY(third.OpenFile(file, password));
    QCOMPARE(third.Passwords().Count(), 2);
}

void TestStoreFile::protectedFileHidesEveryText()
{
    const QString file = path(QStringLiteral("secret.VLM"));
    const auto store = sampleFile(file, QStringLiteral("pw"));
    QVERIFY(store);
    const QByteArray bytes = readAll(file);
    QStringList texts = {QStringLiteral("Banking"), QStringLiteral("Cards")};
    for (const PasswordEntry &e : store->Passwords()) {
        texts << e.service << e.UserName << e.Password << e.Notes << e.URL << e.ChangeURL
              << e.ExpURL;
    }
    for (const QString &text : std::as_const(texts)) {
        QVERIFY2(!bytes.contains(text.toUtf8()), qPrintable(text));
        const QByteArray utf16(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        QVERIFY2(!bytes.contains(utf16), qPrintable(text));
    }
    // Without a password the same texts are there in clear: the check above can fail.
    const QString plain = path(QStringLiteral("plain.VLM"));
    QVERIFY(sampleFile(plain, QString()));
    QVERIFY(readAll(plain).contains("Visa-secret"));
}

void TestStoreFile::hasNoPassword()
{
    const QString locked = path(QStringLiteral("locked.VLM"));
    const QString open = path(QStringLiteral("open.VLM"));
    QVERIFY(sampleFile(locked, QStringLiteral("pw")));
    QVERIFY(sampleFile(open, QString()));
    PasswordStore store;
    QVERIFY(!store.HasNoPassword(locked));
    QVERIFY(store.HasNoPassword(open));
    QVERIFY(store.HasNoPassword(path(QStringLiteral("missing.VLM"))));
    writeBytes(path(QStringLiteral("text.VLM")), "just some text");
    QVERIFY(store.HasNoPassword(path(QStringLiteral("text.VLM"))));
    // A file without password opens with an empty one and accepts "" later.
    QVERIFY(store.OpenFile(open, QString()));
    QVERIFY(store.CheckPassword(QString()));
}

void TestStoreFile::badFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("expected");
    QTest::newRow("missing") << "missing"
                             << "does not exist";
    QTest::newRow("folder") << "folder"
                            << "is a folder";
    QTest::newRow("empty") << "empty"
                           << "is not a Vellumor password file";
    QTest::newRow("foreign") << "foreign"
                             << "is not a Vellumor password file";
    QTest::newRow("newer") << "newer"
                           << "newer version of Vellumor";
    QTest::newRow("wrong password") << "wrong"
                                    << "Wrong password";
    QTest::newRow("truncated in magic") << "cut:4"
                                        << "is not a Vellumor password file";
    QTest::newRow("truncated in header") << "cut:60"
                                         << "damaged: it is truncated";
    QTest::newRow("truncated in payload") << "cut:-10"
                                          << "damaged: it is truncated";
    QTest::newRow("trailing data") << "append"
                                   << "damaged: it has data after its end";
    QTest::newRow("header byte") << "flip:30"
                                 << "damaged: its header was altered";
    QTest::newRow("payload byte") << "flip:-40"
                                  << "damaged: its content was altered";
    QTest::newRow("tag byte") << "flip:-1"
                              << "damaged: its content was altered";
    QTest::newRow("plain payload byte") << "plainflip:130"
                                        << "damaged: its content was altered";
    QTest::newRow("plain checksum") << "plainflip:-1"
                                    << "damaged: its content was altered";
}

void TestStoreFile::badFiles()
{
    QFETCH(QString, kind);
    QFETCH(QString, expected);
    const QString good = path(QStringLiteral("good.VLM"));
    const QString plainGood = path(QStringLiteral("plain.VLM"));
    QVERIFY(sampleFile(good, QStringLiteral("pw")));
    QVERIFY(sampleFile(plainGood, QString()));
    QByteArray bytes = readAll(good);
    QString target = path(QStringLiteral("bad.VLM"));
    QString password = QStringLiteral("pw");
    const auto at = [](const QByteArray &b, int pos) { return pos >= 0 ? pos : b.size() + pos; };

    if (kind == QLatin1String("missing")) {
        target = path(QStringLiteral("nowhere.VLM"));
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("bad.VLM")));
    } else if (kind == QLatin1String("empty")) {
        writeBytes(target, QByteArray());
    } else if (kind == QLatin1String("foreign")) {
        writeBytes(target, QByteArray("<?xml version=\"1.0\"?><KeePassFile/>").repeated(10));
    } else if (kind == QLatin1String("newer")) {
        qToLittleEndian<quint16>(2, bytes.data() + 8);
        resealHeader(bytes);
        writeBytes(target, bytes);
    } else if (kind == QLatin1String("wrong")) {
        password = QStringLiteral("PW");
        writeBytes(target, bytes);
    } else if (kind.startsWith(QLatin1String("cut:"))) {
        writeBytes(target, bytes.left(at(bytes, kind.mid(4).toInt())));
    } else if (kind == QLatin1String("append")) {
        writeBytes(target, bytes + QByteArray(3, 'x'));
    } else if (kind.startsWith(QLatin1String("flip:"))) {
        bytes[at(bytes, kind.mid(5).toInt())] ^= 0x01;
        writeBytes(target, bytes);
    } else if (kind.startsWith(QLatin1String("plainflip:"))) {
        QByteArray plain = readAll(plainGood);
        plain[at(plain, kind.mid(10).toInt())] ^= 0x01;
        writeBytes(target, plain);
        password.clear();
    }

    // What was open before a failed open stays exactly as it was.
    auto store = newStore();
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("unsaved"))));
    QVERIFY(!store->OpenFile(target, password));
    QVERIFY2(store->LastError().contains(expected), qPrintable(store->LastError()));
    QVERIFY(store->LastError().contains(QDir::toNativeSeparators(target)));
    QCOMPARE(store->FileName(), QStringLiteral("<New VLM File>"));
    QVERIFY(store->Modified());
    QCOMPARE(store->Passwords().Count(), 1);
    QVERIFY(store->Passwords().Item(QStringLiteral("unsaved")) != nullptr);
}

void TestStoreFile::craftedKdfCostIsRefused()
{
    const QString file = path(QStringLiteral("cost.VLM"));
    QVERIFY(sampleFile(file, QStringLiteral("pw")));
    const QString tooCostly = QStringLiteral("asks for a costlier key derivation than Vellumor "
                                             "allows (at most 4 passes over 1024 MiB)");
    const QString notValid = QStringLiteral("damaged: its key derivation settings are not valid");
    struct Cost
    {
        quint32 ops;
        quint32 mem;
        QString error;
    };
    // Just past a cap must be refused as well: cheap to derive, so the old
    // code answered "wrong password" after deriving instead.
    const QList<Cost> costs = {{5, 8, tooCostly},
                               {1, 1024U * 1024U + 1U, tooCostly},
                               {64, 4U * 1024U * 1024U, tooCostly},
                               {0xFFFFFFFFU, 8, tooCostly},
                               {1, 0xFFFFFFFFU, tooCostly},
                               {0, 8, notValid},
                               {1, 1, notValid}};
    for (const Cost &cost : costs) {
        QByteArray bytes = readAll(file);
        qToLittleEndian<quint32>(cost.ops, bytes.data() + 16);
        qToLittleEndian<quint32>(cost.mem, bytes.data() + 20);
        resealHeader(bytes);
        writeBytes(file + QStringLiteral(".crafted"), bytes);
        PasswordStore store;
        QVERIFY(!store.OpenFile(file + QStringLiteral(".crafted"), QStringLiteral("pw")));
        QVERIFY2(store.LastError().contains(cost.error), qPrintable(store.LastError()));
        QCOMPARE(store.LastKdfNanoseconds(), 0); // refused before any derivation
    }
}

namespace {

QCborArray record(const QString &service, int codcat, int codscat)
{
    return QCborArray{service, codcat,  codscat, "u",     "p",     "n", "url", "c",
                      "e",     nullptr, nullptr, nullptr, nullptr, 0,   0,     0};
}

} // namespace

void TestStoreFile::payloadRulesAreChecked_data()
{
    QTest::addColumn<QCborValue>("payload");
    QTest::addColumn<bool>("valid");
    const QCborArray cats{QCborArray{1, "Web"}, QCborArray{2, "Mail"}};
    const QCborArray subs{QCborArray{7, 1, "Shops"}};
    const auto file = [](const QCborArray &c, const QCborArray &s, const QCborArray &p) {
        return QCborValue(QCborMap{{"categories", c}, {"subcategories", s}, {"passwords", p}});
    };
    QTest::newRow("valid") << file(cats, subs, {record("a", 1, 7), record("b", 0, 0)}) << true;
    QTest::newRow("unknown section skipped")
        << QCborValue(QCborMap{{"categories", cats}, {"later", QCborArray{1, 2}}}) << true;
    QTest::newRow("longer record accepted")
        << file(cats, subs, QCborArray() << (record("a", 1, 7) << "extra")) << true;
    QTest::newRow("same service ignoring case")
        << file(cats, subs, {record("Mail", 0, 0), record("MAIL", 0, 0)}) << false;
    QTest::newRow("empty service") << file(cats, subs, {record("", 0, 0)}) << false;
    QTest::newRow("missing category") << file(cats, subs, {record("a", 3, 0)}) << false;
    QTest::newRow("subcategory of other category")
        << file(cats, subs, {record("a", 2, 7)}) << false;
    QTest::newRow("subcategory without category") << file(cats, subs, {record("a", 0, 7)}) << false;
    QTest::newRow("category code 0") << file({QCborArray{0, "Zero"}}, {}, {}) << false;
    QTest::newRow("category code too big") << file({QCborArray{40000, "Big"}}, {}, {}) << false;
    QTest::newRow("duplicate category name")
        << file({QCborArray{1, "Web"}, QCborArray{2, "WEB"}}, {}, {}) << false;
    QTest::newRow("duplicate subcategory code")
        << file(cats, {QCborArray{7, 1, "A"}, QCborArray{7, 2, "B"}}, {}) << false;
    QTest::newRow("orphan subcategory") << file(cats, {QCborArray{7, 9, "A"}}, {}) << false;
    QTest::newRow("short record") << file(cats, subs, {QCborArray{"a", 0, 0, "u"}}) << false;
    QTest::newRow("text where a number belongs")
        << file(cats, subs, {QCborArray{"a", "x", 0}}) << false;
    QTest::newRow("not a map") << QCborValue(QCborArray{1, 2}) << false;
}

void TestStoreFile::payloadRulesAreChecked()
{
    QFETCH(QCborValue, payload);
    QFETCH(bool, valid);
    FileContent content;
    QString detail;
    QVERIFY2(vlmfile::decodePayload(payload.toCbor(), content, detail) == valid,
             qPrintable(detail));
    QCOMPARE(detail.isEmpty(), valid);
    // Trailing bytes after a valid payload are refused as well.
    if (valid) {
        QVERIFY(!vlmfile::decodePayload(payload.toCbor() + QByteArray(1, '\0'), content, detail));
    }
}

void TestStoreFile::malformedEncodingIsRefused_data()
{
    QTest::addColumn<QByteArray>("payload");
    // An "expanded" list that declares 1.6 billion entries, then a stray break
    // inside it: the decoder used to take the break for endless empty texts.
    QTest::newRow("break inside a counted list")
        << QByteArray::fromHex("bf6a63612d73656370696f6ea16776657273696f6e0268657870616e6465"
                               "649a634361746c636f6c6f753a7260626c7565ff6d73756a6a65");
    // Same trick in each kind of section: {"<name>": [<break> ...
    const auto stray = [](const char *name) {
        QByteArray b = QByteArray::fromHex("a1");
        b += QCborValue(QString::fromLatin1(name)).toCbor();
        return b + QByteArray::fromHex("9a7fffffffff61616161");
    };
    QTest::newRow("break in categories") << stray("categories");
    QTest::newRow("break in subcategories") << stray("subcategories");
    QTest::newRow("break in passwords") << stray("passwords");
    QTest::newRow("break in expanded") << stray("expanded");
    // A text that claims more bytes than the payload holds.
    QTest::newRow("text longer than payload")
        << QByteArray::fromHex("a168657870616e646564817a7fffffff6161");
    QTest::newRow("huge list, no elements")
        << QByteArray::fromHex("a16870617373776f7264739b7fffffffffffffff");
    QTest::newRow("indefinite map never closed") << QByteArray::fromHex("bf6865787061646564");
}

void TestStoreFile::malformedEncodingIsRefused()
{
    QFETCH(QByteArray, payload);
    FileContent content;
    QString detail;
    QVERIFY(!vlmfile::decodePayload(payload, content, detail));
    QVERIFY(!detail.isEmpty());
    QVERIFY(content.expandedNodes.size() < 16);
}

void TestStoreFile::passwordChangeAndRemoval()
{
    const QString file = path(QStringLiteral("change.VLM"));
    QVERIFY(sampleFile(file, QStringLiteral("old")));
    PasswordStore store;
    store.SetKdfParams(KdfParams::Minimum());
    QVERIFY(store.OpenFile(file, QStringLiteral("old")));
    store.SetPassword(QStringLiteral("new"));
    QVERIFY(store.Modified());
    QVERIFY(store.SaveFile(QString(), false, false));
    PasswordStore check;
    QVERIFY(!check.OpenFile(file, QStringLiteral("old")));
    QVERIFY(check.OpenFile(file, QStringLiteral("new")));

    store.SetPassword(QString());
    QVERIFY(store.SaveFile(QString(), false, false));
    QVERIFY(check.HasNoPassword(file));
    QVERIFY(check.OpenFile(file, QString()));
    QCOMPARE(check.Passwords().Count(), 3);
    // And back to protected: a fresh salt, the file locked again.
    store.SetPassword(QStringLiteral("again"));
    QVERIFY(store.SaveFile(QString(), false, false));
    QVERIFY(!check.HasNoPassword(file));
    QVERIFY(check.OpenFile(file, QStringLiteral("again")));
}

void TestStoreFile::kdfParametersTravelWithTheFile()
{
    const QString file = path(QStringLiteral("params.VLM"));
    auto store = newStore();
    store->SetKdfParams({2, 1024});
    store->SetPassword(QStringLiteral("pw"));
    QVERIFY(store->SaveFile(file, false, false));
    PasswordStore opened; // defaults to the strong cost for new files...
    QCOMPARE(opened.GetKdfParams(), KdfParams::Moderate());
    QVERIFY(opened.OpenFile(file, QStringLiteral("pw")));
    QCOMPARE(opened.GetKdfParams(), (KdfParams{2, 1024})); // ...and keeps the file's own
    QVERIFY(opened.LastKdfNanoseconds() > 0);
    // Invalid parameters are ignored rather than producing an unreadable file.
    opened.SetKdfParams({0, 0});
    opened.SetKdfParams({KdfParams::MaxOps + 1, 1024});
    opened.SetKdfParams({2, KdfParams::MaxMemKiB + 1});
    QCOMPARE(opened.GetKdfParams(), (KdfParams{2, 1024}));
}

void TestStoreFile::backups()
{
    const QString file = path(QStringLiteral("backed.VLM"));
    auto store = sampleFile(file, QString());
    QVERIFY(store);
    QDateTime now(QDate(2026, 3, 1), QTime(12, 0, 0));
    store->SetClock([&now] { return now; });

    const QByteArray first = readAll(file);
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("second"))));
    QVERIFY(store->SaveFile(QString(), true, false));
    QCOMPARE(readAll(file + QStringLiteral(".bak")), first);
    const QByteArray second = readAll(file);
    QVERIFY(second != first);
    QVERIFY(store->SaveFile(QString(), true, false));
    QCOMPARE(readAll(file + QStringLiteral(".bak")), second);

    // Twelve history saves, two of them in the same second: the ten newest stay.
    QList<QByteArray> previous;
    for (int i = 0; i < 12; ++i) {
        previous << readAll(file);
        QVERIFY(store->AddPassword(makeRecord(QStringLiteral("h%1").arg(i))));
        QVERIFY(store->SaveFile(QString(), false, true));
        if (i != 5) {
            now = now.addSecs(61);
        }
    }
    QStringList history =
        QDir(m_dir->path())
            .entryList({QStringLiteral("backed.VLM.2*.bak")}, QDir::Files, QDir::Name);
    QCOMPARE(history.size(), 10);
    QVERIFY(history.contains(QStringLiteral("backed.VLM.20260301-120505-2.bak")));
    QVERIFY(!history.contains(QStringLiteral("backed.VLM.20260301-120000.bak")));
    QVERIFY(!history.contains(QStringLiteral("backed.VLM.20260301-120101.bak")));
    QVERIFY(history.contains(QStringLiteral("backed.VLM.20260301-120202.bak")));
    // The newest copy holds the file as it was before the last save.
    QCOMPARE(readAll(m_dir->filePath(history.last())), previous.last());
    QVERIFY(QFileInfo::exists(file + QStringLiteral(".bak"))); // not touched by the pruning
}

void TestStoreFile::permissionsAreOwnerOnly()
{
    const QString file = path(QStringLiteral("perm.VLM"));
    auto store = sampleFile(file, QStringLiteral("pw"));
    QVERIFY(store);
    QVERIFY(store->SaveFile(QString(), true, true));
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const QStringList files = QDir(m_dir->path()).entryList(QDir::Files);
    QCOMPARE(files.size(), 3);
    for (const QString &name : files) {
        const auto perms = QFile::permissions(m_dir->filePath(name));
        QVERIFY2((perms & ~(ownerOnly | QFileDevice::ReadUser | QFileDevice::WriteUser)) == 0,
                 qPrintable(name));
    }
}

void TestStoreFile::failingDeviceKeepsOldFile_data()
{
    QTest::addColumn<qint64>("budget");
    QTest::addColumn<bool>("backup");
    QTest::newRow("no byte") << qint64(0) << false;
    QTest::newRow("one byte") << qint64(1) << false;
    QTest::newRow("header only") << qint64(120) << false;
    QTest::newRow("all but one") << qint64(-1) << false;
    QTest::newRow("backup fails") << qint64(10) << true;
}

void TestStoreFile::failingDeviceKeepsOldFile()
{
    QFETCH(qint64, budget);
    QFETCH(bool, backup);
    const QString file = path(QStringLiteral("full.VLM"));
    auto store = sampleFile(file, QStringLiteral("pw"));
    QVERIFY(store);
    const QByteArray before = readAll(file);
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("pending"))));
    const qint64 limit = budget >= 0 ? budget : before.size() + 40 + budget;
    store->SetSaveTargetFactory(
        [limit](const QString &target) { return std::make_unique<FailingTarget>(target, limit); });
    QVERIFY(!store->SaveFile(QString(), backup, false));
    QVERIFY2(store->LastError().contains(QStringLiteral("No space left on device")),
             qPrintable(store->LastError()));
    QCOMPARE(readAll(file), before);
    QVERIFY(store->Modified());
    QVERIFY(store->Passwords().Item(QStringLiteral("pending")) != nullptr);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("full.VLM")});
    // Once the device works again, the same data saves.
    store->SetSaveTargetFactory(nullptr);
    QVERIFY(store->SaveFile(QString(), backup, false));
    PasswordStore check;
    QVERIFY(check.OpenFile(file, QStringLiteral("pw")));
    QVERIFY(check.Passwords().Item(QStringLiteral("pending")) != nullptr);
}

void TestStoreFile::unwritablePlaces()
{
    auto store = sampleFile(path(QStringLiteral("here.VLM")), QString());
    QVERIFY(store);
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("pending"))));
    QVERIFY(!store->SaveFile(path(QStringLiteral("no/such/folder/x.VLM")), false, false));
    QVERIFY(store->LastError().contains(QStringLiteral("could not be saved")));
    QCOMPARE(store->FileName(), path(QStringLiteral("here.VLM")));
    QVERIFY(store->Modified());

    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("locked")));
    QFile::setPermissions(path(QStringLiteral("locked")),
                          QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile probe(path(QStringLiteral("locked/probe")));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        QSKIP("permissions do not bind this user (root): read-only folder not testable");
    }
    QVERIFY(!store->SaveFile(path(QStringLiteral("locked/x.VLM")), false, false));
    QVERIFY(store->Modified());
}

void TestStoreFile::newFileNeedsAName()
{
    auto store = newStore();
    QVERIFY(!store->SaveFile(QString(), false, false));
    QVERIFY(!store->LastError().isEmpty());
    PasswordStore none;
    QVERIFY(!none.SaveFile(path(QStringLiteral("x.VLM")), false, false));
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("x.VLM"))));
}

void TestStoreFile::importAddsOnlyMissingFolders()
{
    const QString other = path(QStringLiteral("other.VLM"));
    QVERIFY(sampleFile(other, QStringLiteral("theirs")));
    auto store = newStore();
    QVERIFY(store->AddCategory(QStringLiteral("BANKING")));
    QVERIFY(store->AddCategory(QStringLiteral("Mine")));
    const qint16 bank = categoryCode(*store, QStringLiteral("banking"));
    QVERIFY(store->SaveFile(path(QStringLiteral("mine.VLM")), false, false));

    QVERIFY(!store->ImportFile(other, QStringLiteral("wrong")));
    QVERIFY(store->LastError().contains(QStringLiteral("Wrong password")));
    QVERIFY(!store->Modified());
    QVERIFY(store->ImportFile(other, QStringLiteral("theirs")));
    QVERIFY(store->Modified());
    QCOMPARE(store->Categories().Count(), 2);
    QCOMPARE(store->CategoryName(bank), QStringLiteral("BANKING")); // kept as it was
    QVERIFY(subCategoryCode(*store, bank, QStringLiteral("Cards")) > 0);
    QCOMPARE(store->Passwords().Count(), 0);
    QVERIFY(store->ImportFile(other, QStringLiteral("theirs"))); // nothing new the second time
    QCOMPARE(store->SubCategories().Count(), 1);

    PasswordStore closed;
    QVERIFY(!closed.ImportFile(other, QStringLiteral("theirs")));
}

void TestStoreFile::mergeBringsRecords()
{
    const QString other = path(QStringLiteral("other.VLM"));
    const auto theirs = sampleFile(other, QString());
    QVERIFY(theirs);
    auto store = newStore();
    QVERIFY(store->AddCategory(QStringLiteral("Filler")));
    PasswordEntry visa = *theirs->Passwords().Item(QStringLiteral("Visa"));
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("giro")))); // same name, other content
    QVERIFY(store->AddPassword(makeRecord(QStringLiteral("Giro (2)"))));

    MergeResult result;
    QVERIFY(store->MergeFile(other, QString(), result));
    QCOMPARE(result.added, 2);   // Visa, Ünïcode ✓
    QCOMPARE(result.renamed, 1); // Giro -> Giro (3)
    QCOMPARE(result.skipped, 0);
    QCOMPARE(store->Passwords().Count(), 5);
    const PasswordEntry *renamed = store->Passwords().Item(QStringLiteral("Giro (3)"));
    QVERIFY(renamed != nullptr);
    QCOMPARE(renamed->Password, QStringLiteral("Giro-secret"));
    // Codes are this file's own, found by name.
    const qint16 bank = categoryCode(*store, QStringLiteral("Banking"));
    const PasswordEntry *merged = store->Passwords().Item(QStringLiteral("Visa"));
    QCOMPARE(merged->codcat, bank);
    QCOMPARE(merged->CodSCat, subCategoryCode(*store, bank, QStringLiteral("Cards")));
    QCOMPARE(merged->Password, visa.Password);

    QVERIFY(store->MergeFile(other, QString(), result));
    QCOMPARE(result.added, 0);
    QCOMPARE(result.renamed, 0);
    QCOMPARE(result.skipped, 3);
    QCOMPARE(store->Passwords().Count(), 5);
}

QTEST_GUILESS_MAIN(TestStoreFile)
#include "test_store_file.moc"
