// The records of the store, its file password and its settings.

#include "PasswordStoreImpl.h"

#include <QFileInfo>
#include <sodium.h>

SecureBytes utf8Secret(const QString &text)
{
    QByteArray utf8 = text.toUtf8();
    SecureBytes secret(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    sodium_memzero(utf8.data(), static_cast<size_t>(utf8.size()));
    return secret;
}

QString textOf(const SecureBytes &secret)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(secret.data()),
                             static_cast<qsizetype>(secret.size()));
}

bool PasswordStore::Impl::checkPlacement(qint16 codcat, qint16 CodSCat)
{
    if (codcat == 0) {
        return CodSCat == 0 ||
               fail(QStringLiteral("A record without category cannot have a subcategory."));
    }
    if (!categoryNameByCode.contains(codcat)) {
        return fail(QStringLiteral("There is no category with code %1.").arg(codcat));
    }
    if (CodSCat == 0) {
        return true;
    }
    const QString subKeyText = subcategoryKeyByCode.value(CodSCat);
    const SubCategory *sub = subKeyText.isEmpty() ? nullptr : subcategories.Item(subKeyText);
    if (sub == nullptr || sub->codcat != codcat) {
        return fail(QStringLiteral("The category %1 has no subcategory with code %2.")
                        .arg(categoryNameByCode.value(codcat))
                        .arg(CodSCat));
    }
    return true;
}

namespace {

// Times are kept in UTC: saving then needs no time-zone conversion per record.
PasswordEntry inUtc(PasswordEntry record)
{
    if (record.Dt_Insert.isValid()) {
        record.Dt_Insert = record.Dt_Insert.toUTC();
    }
    if (record.Dt_Modify.isValid()) {
        record.Dt_Modify = record.Dt_Modify.toUTC();
    }
    return record;
}

} // namespace

bool PasswordStore::AddPassword(const PasswordEntry &record)
{
    if (d->fileName.isEmpty()) {
        return d->fail(QStringLiteral("No password file is open."));
    }
    if (!isUsableName(record.service)) {
        return d->fail(QStringLiteral("A record needs a service name."));
    }
    if (d->passwords.Contains(record.service)) {
        return d->fail(QStringLiteral("There is already a record for the service \"%1\".")
                           .arg(d->passwords.Item(record.service)->service));
    }
    if (!d->checkPlacement(record.codcat, record.CodSCat)) {
        return false;
    }
    d->passwords.insert(record.service, inUtc(record));
    d->changed();
    return true;
}

void PasswordStore::Impl::mergeRecord(PasswordEntry e, MergeResult &result)
{
    e = inUtc(std::move(e));
    const PasswordEntry *existing = passwords.find(e.service);
    if (existing == nullptr) {
        const QString service = e.service;
        passwords.insert(service, std::move(e));
        ++result.added;
        return;
    }
    if (*existing == e) {
        ++result.skipped;
        return;
    }
    // The same service with other content: keep both, the newcomer renamed,
    // unless an earlier merge already brought it in under such a name.
    const QString service = e.service;
    for (int n = 2;; ++n) {
        e.service = QStringLiteral("%1 (%2)").arg(service).arg(n);
        const PasswordEntry *taken = passwords.find(e.service);
        if (taken == nullptr) {
            const QString renamedKey = e.service;
            passwords.insert(renamedKey, std::move(e));
            ++result.renamed;
            return;
        }
        if (*taken == e) {
            ++result.skipped;
            return;
        }
    }
}

bool PasswordStore::MergeRecords(std::vector<NamedRecord> records, MergeResult &result)
{
    result = MergeResult();
    if (d->fileName.isEmpty()) {
        return d->fail(QStringLiteral("No password file is open."));
    }
    bool ok = true;
    for (NamedRecord &r : records) {
        PasswordEntry &e = r.entry;
        if (!isUsableName(e.service)) {
            ++result.unnamed;
            continue;
        }
        // A blank name is no folder; a subcategory alone is taken for a category.
        QString category = isUsableName(r.category) ? r.category : QString();
        QString subcategory = isUsableName(r.subcategory) ? r.subcategory : QString();
        if (category.isEmpty()) {
            std::swap(category, subcategory);
        }
        e.codcat = 0;
        e.CodSCat = 0;
        if (!category.isEmpty()) {
            const Category *c = d->categories.Item(category);
            if (c != nullptr) {
                e.codcat = c->codcat;
            } else if (!d->addCategory(category, &e.codcat)) {
                ok = false;
                break;
            }
        }
        if (!subcategory.isEmpty()) {
            const SubCategory *s = d->subcategories.Item(Impl::subKey(e.codcat, subcategory));
            if (s != nullptr) {
                e.CodSCat = s->CodSCat;
            } else if (!d->addSubCategory(e.codcat, subcategory, &e.CodSCat)) {
                ok = false;
                break;
            }
        }
        d->mergeRecord(std::move(e), result);
    }
    if (result.added + result.renamed > 0) {
        d->changed();
    }
    return ok;
}

bool PasswordStore::UpdatePassword(const PasswordEntry &record, const QString &oldService,
                                   qint16 oldCodcat, qint16 oldCodSCat)
{
    // The service name alone identifies a record; the old codes are not needed.
    Q_UNUSED(oldCodcat)
    Q_UNUSED(oldCodSCat)
    auto &records = d->passwords;
    const PasswordEntry *old = records.find(oldService);
    if (old == nullptr) {
        return d->fail(
            QStringLiteral("There is no record for the service \"%1\".").arg(oldService));
    }
    if (!isUsableName(record.service)) {
        return d->fail(QStringLiteral("A record needs a service name."));
    }
    const PasswordEntry *clash = records.find(record.service);
    if (clash != nullptr && clash != old) {
        return d->fail(QStringLiteral("There is already a record for the service \"%1\".")
                           .arg(clash->service));
    }
    if (!d->checkPlacement(record.codcat, record.CodSCat)) {
        return false;
    }
    records.erase(oldService);
    records.insert(record.service, inUtc(record));
    d->changed();
    return true;
}

bool PasswordStore::DeletePassword(const QString &key)
{
    if (!d->passwords.erase(key)) {
        return d->fail(QStringLiteral("There is no record for the service \"%1\".").arg(key));
    }
    d->changed();
    return true;
}

bool PasswordStore::MovePassword(const QString &key, qint16 codcat, qint16 CodSCat)
{
    PasswordEntry *record = d->passwords.find(key);
    if (record == nullptr) {
        return d->fail(QStringLiteral("There is no record for the service \"%1\".").arg(key));
    }
    // The tree passes -1 for "any subcategory" when a record is dropped on a
    // node without one ("No Category"): the record then has none.
    const qint16 sub = CodSCat < 0 ? qint16(0) : CodSCat;
    if (!d->checkPlacement(codcat, sub)) {
        return false;
    }
    if (record->codcat != codcat || record->CodSCat != sub) {
        record->codcat = codcat;
        record->CodSCat = sub;
        d->changed();
    }
    return true;
}

void PasswordStore::SetPassword(const QString &password)
{
    d->password = utf8Secret(password);
    d->fileKey = FileKey(); // derived anew, with a fresh salt, at the next save
    d->passwordChanged = true;
    d->modified = true;
}

QString PasswordStore::Title() const
{
    if (d->fileName.isEmpty() || d->fileName == NewFileName) {
        return d->fileName;
    }
    return QFileInfo(d->fileName).completeBaseName();
}

bool PasswordStore::CheckPassword(const QString &password) const
{
    // Both sides hashed first, so the comparison takes the same time whatever
    // the lengths and contents.
    const SecureBytes given = utf8Secret(password);
    SecureBytes a(crypto_generichash_BYTES);
    SecureBytes b(crypto_generichash_BYTES);
    crypto_generichash(a.data(), a.size(), given.data(), given.size(), nullptr, 0);
    crypto_generichash(b.data(), b.size(), d->password.data(), d->password.size(), nullptr, 0);
    return sodium_memcmp(a.data(), b.data(), a.size()) == 0;
}

QString PasswordStore::GetField(int field, const QString &key) const
{
    const PasswordEntry *e = d->passwords.Item(key);
    if (e == nullptr) {
        return QString();
    }
    switch (field) {
    case 1:
        return e->UserName;
    case 2:
        return e->Password;
    case 3:
        return e->Notes;
    case 4:
        return e->URL;
    case 5:
        return e->ChangeURL;
    case 6:
        return e->ExpURL;
    default:
        return QString();
    }
}

void PasswordStore::SetKdfParams(const KdfParams &params)
{
    if (params.isValid() && !(params == d->kdf)) {
        d->kdf = params;
        d->fileKey = FileKey();
    }
}

KdfParams PasswordStore::GetKdfParams() const
{
    return d->kdf;
}

qint64 PasswordStore::LastKdfNanoseconds() const
{
    return d->lastKdfNs;
}

void PasswordStore::SetSaveTargetFactory(SaveTargetFactory factory)
{
    d->saveTargetFactory = factory ? std::move(factory) : SaveTargetFactory(makeFileSaveTarget);
}

void PasswordStore::SetClock(std::function<QDateTime()> now)
{
    if (now) {
        d->now = std::move(now);
    }
}
