// Writes the seed corpus of fuzz_file_reader: small valid files, with and
// without password, and raw payloads, including one with the fields and
// sections a later version may add. Protected files differ on every run (fresh
// salt and nonce); the others come out the same.
//
//   make_corpus DIR

#include "FileFormat.h"
#include "FuzzPassword.h"
#include "PasswordStore.h"

#include <QCborStreamWriter>
#include <QDir>
#include <QFile>
#include <QTextStream>

namespace {

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

bool complain(const QString &message)
{
    err() << "make_corpus: " << message << Qt::endl;
    return false;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        return complain(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    }
    return true;
}

PasswordEntry record(const QString &service, qint16 codcat, qint16 CodSCat)
{
    PasswordEntry e;
    e.service = service;
    e.codcat = codcat;
    e.CodSCat = CodSCat;
    e.UserName = QStringLiteral("anna.rossi@mail.example.net");
    e.Password = QStringLiteral("h7#Kq2!vXw9$Lm4p");
    e.URL = QStringLiteral("https://") + service + QStringLiteral("/login");
    e.Dt_Insert = QDateTime(QDate(2021, 3, 14), QTime(9, 26, 53));
    e.Dt_Modify = QDateTime(QDate(2023, 11, 2), QTime(18, 5, 0));
    return e;
}

// A little of everything: records at every level, dates and flags, text
// beyond Latin-1, an expanded node.
bool fillTree(PasswordStore &store)
{
    const QString work = QStringLiteral("Work");
    const QString home = QStringLiteral("Zuhause \u00e4\u00f6\u00fc");
    if (!store.AddCategory(work) || !store.AddCategory(home) ||
        !store.AddCategory(QStringLiteral("Empty"))) {
        return complain(store.LastError());
    }
    const qint16 workCode = store.Categories().Item(work)->codcat;
    const qint16 homeCode = store.Categories().Item(home)->codcat;
    const QString clients = QStringLiteral("Clients");
    if (!store.AddSubCategory(workCode, clients) ||
        !store.AddSubCategory(workCode, QStringLiteral("Old")) ||
        !store.AddSubCategory(homeCode, QStringLiteral("\u03a3\u03c0\u03af\u03c4\u03b9"))) {
        return complain(store.LastError());
    }
    const qint16 clientsCode =
        store.SubCategories().Item(QString::number(workCode) + QLatin1Char('!') + clients)->CodSCat;

    PasswordEntry plain = record(QStringLiteral("shop-1234.example.com"), 0, 0);
    PasswordEntry dated = record(QStringLiteral("bank-77.example.org"), workCode, 0);
    dated.Notes = QStringLiteral("recovery codes in the safe \U0001F511");
    dated.ChangeURL = dated.URL + QStringLiteral("/password");
    dated.ExpURL = dated.URL + QStringLiteral("/close");
    dated.blExpire = true;
    dated.Dt_Expire = QDate(2027, 6, 30);
    dated.blNotExpire = true;
    dated.ggNotExpire = 14;
    dated.blChange = true;
    dated.Dt_Change = QDate(2026, 12, 31);
    dated.blNotChange = true;
    dated.ggNotChange = 7;
    PasswordEntry nested = record(QStringLiteral("git-5.example.net"), workCode, clientsCode);
    nested.Dt_Insert = QDateTime();
    nested.Dt_Modify = QDateTime();
    PasswordEntry empty;
    empty.service = QStringLiteral("X");
    empty.codcat = homeCode;
    for (const PasswordEntry &e : {plain, dated, nested, empty}) {
        if (!store.AddPassword(e)) {
            return complain(store.LastError());
        }
    }
    store.SetNodeExpanded(work, true);
    return true;
}

bool saveAs(PasswordStore &store, const QDir &dir, const QString &name, bool protect)
{
    if (protect) {
        store.SetKdfParams(KdfParams::Minimum());
        store.SetPassword(fuzzPassword());
    } else {
        store.SetPassword(QString());
    }
    return store.SaveFile(dir.filePath(name), false, false) || complain(store.LastError());
}

// The payload of an unprotected file we just wrote.
bool savePayload(const QDir &dir, const QString &fileName, const QString &name)
{
    QFile file(dir.filePath(fileName));
    if (!file.open(QIODevice::ReadOnly)) {
        return complain(file.errorString());
    }
    FileContent content;
    FileKey key;
    QString detail;
    if (vlmfile::read(file.readAll(), QString(), content, key, detail) != ReadStatus::Ok) {
        return complain(QStringLiteral("%1 does not read back: %2").arg(fileName, detail));
    }
    return writeBytes(dir.filePath(name), vlmfile::encodePayload(content));
}

// What a later version may write: extra record and category fields, an unknown
// section, arrays of indefinite length, text in chunks.
QByteArray extendedPayload()
{
    QByteArray out;
    QCborStreamWriter w(&out);
    w.startMap();
    w.append(QLatin1String("categories"));
    w.startArray();
    w.startArray(3);
    w.append(qint16(1));
    w.append(QLatin1String("Cat"));
    w.append(QLatin1String("colour: blue"));
    w.endArray();
    w.endArray();
    w.append(QLatin1String("subcategories"));
    w.startArray(1);
    w.startArray(3);
    w.append(qint16(2));
    w.append(qint16(1));
    w.append(QLatin1String("Sub"));
    w.endArray();
    w.endArray();
    w.append(QLatin1String("later-section"));
    w.startMap(1);
    w.append(QLatin1String("version"));
    w.append(2);
    w.endMap();
    w.append(QLatin1String("expanded"));
    w.startArray(1);
    w.append(QLatin1String("Cat"));
    w.endArray();
    w.append(QLatin1String("passwords"));
    w.startArray(1);
    w.startArray(17);
    w.append(QLatin1String("mail-9.example.com"));
    w.append(qint16(1));
    w.append(qint16(2));
    w.append(QLatin1String("zoe"));
    w.append(QLatin1String("pA55-w0rd-pA55-w0rd"));
    w.append(QLatin1String("notes"));
    w.append(QLatin1String("https://mail-9.example.com"));
    w.append(QLatin1String(""));
    w.append(QLatin1String(""));
    w.append(qint64(1'600'000'000'000));
    w.append(nullptr);
    w.append(qint64(2'461'000));
    w.append(nullptr);
    w.append(quint64(15));
    w.append(qint16(10));
    w.append(qint16(-1));
    w.append(QLatin1String("a field from the future"));
    w.endArray();
    w.endArray();
    w.endMap();
    return out;
}

// Every seed must be valid, or the fuzzer starts from rejected inputs only.
bool verifySeeds(const QDir &dir)
{
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    for (const QString &name : names) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            return complain(file.errorString());
        }
        const QByteArray bytes = file.readAll();
        FileContent content;
        FileKey key;
        QString detail;
        const bool ok =
            name.endsWith(QLatin1String(".cbor"))
                ? vlmfile::decodePayload(bytes, content, detail)
                : vlmfile::read(bytes, fuzzPassword(), content, key, detail) == ReadStatus::Ok;
        if (!ok) {
            return complain(QStringLiteral("seed %1 does not decode: %2").arg(name, detail));
        }
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        complain(QStringLiteral("usage: make_corpus DIR"));
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(dir.path())) {
        complain(QStringLiteral("cannot create %1").arg(dir.path()));
        return 1;
    }
    PasswordStore empty;
    PasswordStore tree;
    const bool ok = empty.NewFile() && saveAs(empty, dir, QStringLiteral("empty.vlm"), false) &&
                    saveAs(empty, dir, QStringLiteral("empty-protected.vlm"), true) &&
                    tree.NewFile() && fillTree(tree) &&
                    saveAs(tree, dir, QStringLiteral("tree.vlm"), false) &&
                    saveAs(tree, dir, QStringLiteral("tree-protected.vlm"), true) &&
                    savePayload(dir, QStringLiteral("empty.vlm"), QStringLiteral("empty.cbor")) &&
                    savePayload(dir, QStringLiteral("tree.vlm"), QStringLiteral("tree.cbor")) &&
                    writeBytes(dir.filePath(QStringLiteral("extended.cbor")), extendedPayload()) &&
                    verifySeeds(dir);
    return ok ? 0 : 1;
}
