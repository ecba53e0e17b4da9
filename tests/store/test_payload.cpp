// The two payload readers: the quick one, for the form this program writes,
// must read exactly what the full one reads, and must never take a payload
// that the full one refuses (damage of every kind goes to the full reader,
// which alone says what is wrong).

#include "FileFormat.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// Texts that exercise the conversion: empty, ASCII, two- to four-byte UTF-8,
// and a leading byte order mark (which the full reader drops).
const std::array<QString, 8> Texts = {
    QString(),
    QStringLiteral("plain"),
    QStringLiteral("Grüße, Ærø"),
    QStringLiteral("東京 password"),
    QStringLiteral("emoji \U0001F511 key"),
    QStringLiteral("\uFEFFmarked"),
    QStringLiteral("Service With Capitals"),
    QStringLiteral("a somewhat longer note that spans several words and more bytes"),
};

QString text(QRandomGenerator &rng, int i)
{
    return Texts[static_cast<std::size_t>(rng.bounded(int(Texts.size())))] + QString::number(i);
}

// Categories, subcategories, expanded nodes and count records with every
// field set in some records and empty or null in others.
FileContent sample(int count, quint32 seed)
{
    QRandomGenerator rng(seed);
    FileContent c;
    c.categories = {{1, QStringLiteral("Web")}, {2, QStringLiteral("Bänk")}, {32767, "Last"}};
    c.subcategories = {{1, 7, QStringLiteral("Shops")}, {2, 8, QStringLiteral("Cards")}};
    c.expandedNodes = {QStringLiteral("Web"), QStringLiteral("Bänk")};
    for (int i = 0; i < count; ++i) {
        PasswordEntry e;
        e.service = text(rng, i);
        const int place = rng.bounded(4);
        e.codcat = place == 0 ? 0 : place == 3 ? 32767 : qint16(place);
        e.CodSCat = place == 1 ? 7 : place == 2 ? 8 : 0;
        e.UserName = text(rng, i);
        e.Password = text(rng, i);
        e.Notes = rng.bounded(2) == 0 ? QString() : text(rng, i);
        e.URL = text(rng, i);
        e.ChangeURL = rng.bounded(3) == 0 ? text(rng, i) : QString();
        e.ExpURL = rng.bounded(3) == 0 ? text(rng, i) : QString();
        const qint64 ms = qint64(rng.bounded(2'000'000'000)) * 1000 - 100'000'000'000LL;
        e.Dt_Insert = QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
        if (rng.bounded(2) == 0) {
            e.Dt_Modify = QDateTime::fromMSecsSinceEpoch(ms + 1, Qt::UTC);
            e.Dt_Expire = QDate(2030, 1, 1).addDays(rng.bounded(1000));
            e.Dt_Change = QDate(1, 1, 1).addDays(-rng.bounded(1000));
        }
        e.blChange = rng.bounded(2) == 0;
        e.blExpire = rng.bounded(2) == 0;
        e.blNotExpire = rng.bounded(2) == 0;
        e.blNotChange = rng.bounded(2) == 0;
        e.ggNotExpire = qint16(rng.bounded(65536) - 32768);
        e.ggNotChange = qint16(rng.bounded(400));
        c.passwords.emplace(e.service.toCaseFolded(), e);
    }
    return c;
}

// Equal to the last detail, null texts told from empty ones.
bool sameText(const QString &a, const QString &b)
{
    return a == b && a.isNull() == b.isNull();
}

bool sameContent(const FileContent &a, const FileContent &b)
{
    const auto sameRecord = [](const PasswordEntry &x, const PasswordEntry &y) {
        return x == y && sameText(x.service, y.service) && sameText(x.UserName, y.UserName) &&
               sameText(x.Password, y.Password) && sameText(x.Notes, y.Notes) &&
               sameText(x.URL, y.URL) && sameText(x.ChangeURL, y.ChangeURL) &&
               sameText(x.ExpURL, y.ExpURL);
    };
    return std::equal(a.categories.begin(), a.categories.end(), b.categories.begin(),
                      b.categories.end(),
                      [](const Category &x, const Category &y) {
                          return x.codcat == y.codcat && sameText(x.DescrCat, y.DescrCat);
                      }) &&
           std::equal(a.subcategories.begin(), a.subcategories.end(), b.subcategories.begin(),
                      b.subcategories.end(),
                      [](const SubCategory &x, const SubCategory &y) {
                          return x.codcat == y.codcat && x.CodSCat == y.CodSCat &&
                                 sameText(x.DescrSCat, y.DescrSCat);
                      }) &&
           a.expandedNodes == b.expandedNodes &&
           std::equal(a.passwords.begin(), a.passwords.end(), b.passwords.begin(),
                      b.passwords.end(), [&](const auto &x, const auto &y) {
                          return sameText(x.first, y.first) && sameRecord(x.second, y.second);
                      });
}

// Whether every record has a service name and points at a category and
// subcategory that exist and belong together.
bool allPlaced(const FileContent &c)
{
    return std::all_of(c.passwords.begin(), c.passwords.end(), [&c](const auto &r) {
        const PasswordEntry &e = r.second;
        const bool category =
            e.codcat == 0 ? e.CodSCat == 0
                          : std::any_of(c.categories.begin(), c.categories.end(),
                                        [&e](const Category &k) { return k.codcat == e.codcat; });
        const bool sub =
            e.CodSCat == 0 ||
            std::any_of(c.subcategories.begin(), c.subcategories.end(), [&e](const SubCategory &s) {
                return s.CodSCat == e.CodSCat && s.codcat == e.codcat;
            });
        return !e.service.isEmpty() && category && sub;
    });
}

} // namespace

class TestPayload : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bothReadersAgree();
    void misplacedRecords_data();
    void misplacedRecords();
    void damageNeverPassesQuickly();
};

void TestPayload::bothReadersAgree()
{
    const FileContent written = sample(3000, 1);
    const QByteArray cbor = vlmfile::encodePayload(written);
    FileContent quick;
    FileContent full;
    QString detail;
    bool placed = false;
    QVERIFY(vlmfile::detail::readPayloadQuickly(cbor, quick, placed));
    QVERIFY(placed);
    QVERIFY2(vlmfile::detail::readPayloadFully(cbor, full, detail), qPrintable(detail));
    QCOMPARE(quick.passwords.size(), written.passwords.size());
    QVERIFY(sameContent(quick, full));
    // The byte order mark is dropped by both, so what was written differs there.
    QVERIFY(std::any_of(written.passwords.begin(), written.passwords.end(),
                        [](const auto &r) { return r.second.UserName.startsWith(QChar(0xFEFF)); }));
    QVERIFY(std::none_of(quick.passwords.begin(), quick.passwords.end(), [](const auto &r) {
        return r.second.UserName.startsWith(QChar(0xFEFF));
    }));
}

void TestPayload::misplacedRecords_data()
{
    QTest::addColumn<int>("service"); // 0: none, else named
    QTest::addColumn<int>("codcat");
    QTest::addColumn<int>("CodSCat");
    QTest::newRow("no service name") << 0 << 1 << 7;
    QTest::newRow("missing category") << 1 << 5 << 0;
    QTest::newRow("subcategory of another category") << 1 << 2 << 7;
    QTest::newRow("subcategory without category") << 1 << 0 << 8;
    QTest::newRow("missing subcategory") << 1 << 1 << 9;
}

// One record that does not fit, among many that do, in the form this program
// writes: the quick reader reads it but says so, and the file is refused
// with the message of the full check.
void TestPayload::misplacedRecords()
{
    QFETCH(int, service);
    QFETCH(int, codcat);
    QFETCH(int, CodSCat);
    FileContent written = sample(200, 4);
    PasswordEntry e = written.passwords.begin()->second;
    e.service = service == 0 ? QString() : QStringLiteral("misplaced");
    e.codcat = qint16(codcat);
    e.CodSCat = qint16(CodSCat);
    written.passwords.emplace(e.service.toCaseFolded(), e);
    const QByteArray cbor = vlmfile::encodePayload(written);
    FileContent content;
    bool placed = true;
    QVERIFY(vlmfile::detail::readPayloadQuickly(cbor, content, placed));
    QVERIFY(!placed);
    QString detail;
    QVERIFY(!vlmfile::decodePayload(cbor, content, detail));
    QCOMPARE(detail, QStringLiteral("a record has no service name or a missing category"));
    QVERIFY(content.passwords.empty());
}

// Every mutant the quick reader takes, the full one takes too, with the same
// content, and the quick reader tells right whether its records fit. Mutants: a byte changed,
// inserted, removed, or the end cut off.
void TestPayload::damageNeverPassesQuickly()
{
    const QByteArray cbor = vlmfile::encodePayload(sample(4, 2));
    // Half the bytes put in are ones that mean something at the head of an
    // item: 0, 1, -1, null, false, empty text and list, longer and open-ended
    // heads, break.
    const std::array<unsigned char, 12> heads = {0x00, 0x01, 0x20, 0xf6, 0xf4, 0x60,
                                                 0x80, 0x18, 0x19, 0x7f, 0x9f, 0xff};
    QRandomGenerator rng(3);
    int takenQuickly = 0;
    int refusedQuickly = 0;
    for (int i = 0; i < 60000; ++i) {
        QByteArray mutant = cbor;
        const auto at = static_cast<qsizetype>(rng.bounded(int(cbor.size())));
        const auto byte = static_cast<char>(
            rng.bounded(2) == 0 ? heads[static_cast<std::size_t>(rng.bounded(int(heads.size())))]
                                : rng.bounded(256));
        switch (rng.bounded(5)) {
        case 0:
        case 1:
            mutant[at] = byte;
            break;
        case 2:
            mutant.insert(at, byte);
            break;
        case 3:
            mutant.remove(at, 1);
            break;
        default:
            mutant.truncate(at);
            break;
        }
        FileContent quick;
        bool placed = false;
        if (!vlmfile::detail::readPayloadQuickly(mutant, quick, placed)) {
            ++refusedQuickly;
            continue;
        }
        ++takenQuickly;
        FileContent full;
        QString detail;
        const bool fullyRead = vlmfile::detail::readPayloadFully(mutant, full, detail);
        QVERIFY2(fullyRead, qPrintable(QStringLiteral("taken quickly, refused in full (%1): %2")
                                           .arg(detail, QString::fromLatin1(mutant.toHex()))));
        QVERIFY2(sameContent(quick, full), mutant.toHex().constData());
        QVERIFY2(placed == allPlaced(full), mutant.toHex().constData());
    }
    // Both kinds occur, or the loop proved nothing.
    QVERIFY(takenQuickly > 1000);
    QVERIFY(refusedQuickly > 1000);
}

QTEST_GUILESS_MAIN(TestPayload)
#include "test_payload.moc"
