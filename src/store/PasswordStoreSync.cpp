// Files shared between devices: the file on disk against the version last
// read or written here, reloading it, and merging what another device saved.

#include "PasswordStoreImpl.h"

namespace {

void addUp(DiskMergeResult &total, const DiskMergeResult &more)
{
    total.merged = total.merged || more.merged;
    total.added += more.added;
    total.changed += more.changed;
    total.deleted += more.deleted;
    total.conflicts += more.conflicts;
    total.kept += more.kept;
    total.categoriesAdded += more.categoriesAdded;
    total.categoriesDeleted += more.categoriesDeleted;
    total.subcategoriesAdded += more.subcategoriesAdded;
    total.subcategoriesDeleted += more.subcategoriesDeleted;
    total.conflictNames += more.conflictNames;
}

bool sameKey(const FileKey &a, const FileKey &b)
{
    return a.isSet() == b.isSet() && (!a.isSet() || (a.params == b.params && a.salt == b.salt));
}

} // namespace

void PasswordStore::Impl::setBase(QByteArray bytes, SecureBytes basePass, FileKey key)
{
    DiskVersion image;
    image.set(std::move(bytes));
    setBase(std::move(image), std::move(basePass), std::move(key));
}

void PasswordStore::Impl::setBase(DiskVersion image, SecureBytes basePass, FileKey key)
{
    base = std::move(image);
    basePassword = key.isSet() ? std::move(basePass) : SecureBytes();
    baseKey = std::move(key);
}

DiskReadStatus PasswordStore::Impl::readDisk(const QString *given, QByteArray &bytes,
                                             FileContent &content, FileKey &key)
{
    QString error;
    if (!readFileBytes(fileName, bytes, error)) {
        lastError = error;
        return DiskReadStatus::Failed;
    }
    QString held = given != nullptr ? QString() : textOf(basePassword);
    QString detail;
    // The base's key opens the file without a derivation while its password
    // and salt are unchanged; a password given anew is always derived, so a
    // wrong one cannot pass on the strength of the old key.
    const ReadStatus status =
        vlmfile::read(bytes, given != nullptr ? *given : held, content, key, detail, &lastKdfNs,
                      given != nullptr ? nullptr : &baseKey);
    wipeText(held);
    if (status == ReadStatus::Ok) {
        return DiskReadStatus::Ok;
    }
    if (status == ReadStatus::WrongPassword) {
        lastError = given != nullptr
                        ? readFailure(status, fileName, detail)
                        : QStringLiteral("The password of the file %1 was changed on another "
                                         "device: its new password is needed.")
                              .arg(shownPath(fileName));
        return DiskReadStatus::PasswordChanged;
    }
    lastError = readFailure(status, fileName, detail);
    return DiskReadStatus::Failed;
}

bool PasswordStore::Impl::mergeDiskVersion(QByteArray bytes, FileContent &&theirs,
                                           SecureBytes theirPassword, FileKey key,
                                           DiskMergeResult &result)
{
    FileContent baseContent;
    FileKey baseKeyAgain;
    QString detail;
    const ReadStatus status =
        vlmfile::read(base.bytes, QString(), baseContent, baseKeyAgain, detail, nullptr, &baseKey);
    if (status != ReadStatus::Ok) {
        return fail(QStringLiteral("The version of the file %1 read last cannot be decoded "
                                   "again, so nothing can be merged: %2")
                        .arg(shownPath(fileName), readFailure(status, fileName, detail)));
    }
    mergeThreeWay(baseContent, theirs, result);
    // The file password is merged like a field: a new one from elsewhere is
    // taken unless the user set one here since.
    if (!sameKey(key, baseKey) && !passwordChanged) {
        password = key.isSet() ? theirPassword : SecureBytes();
        fileKey = key;
        if (key.isSet()) {
            kdf = key.params;
        }
    }
    setBase(std::move(bytes), std::move(theirPassword), std::move(key));
    result.merged = true;
    changed();
    return true;
}

bool PasswordStore::Impl::hasDiskVersion()
{
    if (fileName.isEmpty() || !base.isSet) {
        lastError = QStringLiteral("The file has not been read from disk or saved yet.");
        return false;
    }
    return true;
}

DiskReadStatus PasswordStore::Impl::mergeFromDisk(const QString *given, DiskMergeResult &result)
{
    result = DiskMergeResult();
    if (!hasDiskVersion()) {
        return DiskReadStatus::Failed;
    }
    if (compareWithDisk(fileName, base) == DiskCompare::Same) {
        return DiskReadStatus::Ok;
    }
    QByteArray bytes;
    FileContent theirs;
    FileKey key;
    const DiskReadStatus status = readDisk(given, bytes, theirs, key);
    if (status != DiskReadStatus::Ok) {
        return status;
    }
    if (contentHash(bytes) == base.hash) {
        return DiskReadStatus::Ok; // put back as it was between the two reads
    }
    const SecureBytes theirPassword = given != nullptr ? utf8Secret(*given) : basePassword;
    if (!mergeDiskVersion(std::move(bytes), std::move(theirs), theirPassword, std::move(key),
                          result)) {
        return DiskReadStatus::Failed;
    }
    return DiskReadStatus::Ok;
}

bool PasswordStore::Impl::takeChangesOnDisk()
{
    const DiskCompare state = compareWithDisk(fileName, base);
    // A file deleted elsewhere is written anew: the data here is all there is.
    if (state == DiskCompare::Same || state == DiskCompare::Missing) {
        return true;
    }
    DiskMergeResult result;
    switch (mergeFromDisk(nullptr, result)) {
    case DiskReadStatus::Ok:
        addUp(lastDiskMerge, result);
        return true;
    case DiskReadStatus::PasswordChanged:
        return fail(QStringLiteral("The file %1 was saved on another device with another "
                                   "password, so its changes cannot be merged; nothing was "
                                   "saved. Merge them with the new password first, or save "
                                   "under another name.")
                        .arg(shownPath(fileName)));
    case DiskReadStatus::Failed:
        break;
    }
    return fail(QStringLiteral("The file %1 changed on disk and cannot be merged, so nothing was "
                               "saved. %2")
                    .arg(shownPath(fileName), lastError));
}

DiskState PasswordStore::CheckDisk() const
{
    if (d->fileName.isEmpty() || !d->base.isSet) {
        return DiskState::NotOnDisk;
    }
    switch (compareWithDisk(d->fileName, d->base)) {
    case DiskCompare::Same:
        return DiskState::Unchanged;
    case DiskCompare::Different:
        return DiskState::Changed;
    case DiskCompare::Missing:
        return DiskState::Missing;
    case DiskCompare::Unreadable:
        break;
    }
    return DiskState::Unreadable;
}

DiskReadStatus PasswordStore::Impl::reload(const QString *given)
{
    if (!hasDiskVersion()) {
        return DiskReadStatus::Failed;
    }
    QByteArray bytes;
    FileContent content;
    FileKey key;
    const DiskReadStatus status = readDisk(given, bytes, content, key);
    if (status != DiskReadStatus::Ok) {
        return status;
    }
    load(std::move(content));
    SecureBytes opener = given != nullptr ? utf8Secret(*given) : basePassword;
    password = key.isSet() ? opener : SecureBytes();
    fileKey = key;
    if (key.isSet()) {
        kdf = key.params;
    }
    setBase(std::move(bytes), std::move(opener), std::move(key));
    passwordChanged = false;
    lastDiskMerge = DiskMergeResult();
    modified = false;
    return DiskReadStatus::Ok;
}

DiskReadStatus PasswordStore::ReloadFile()
{
    return d->reload(nullptr);
}

DiskReadStatus PasswordStore::ReloadFile(const QString &password)
{
    return d->reload(&password);
}

DiskReadStatus PasswordStore::MergeChangesOnDisk(DiskMergeResult &result)
{
    const DiskReadStatus status = d->mergeFromDisk(nullptr, result);
    d->lastDiskMerge = result;
    return status;
}

DiskReadStatus PasswordStore::MergeChangesOnDisk(const QString &password, DiskMergeResult &result)
{
    const DiskReadStatus status = d->mergeFromDisk(&password, result);
    d->lastDiskMerge = result;
    return status;
}

const DiskMergeResult &PasswordStore::LastDiskMerge() const
{
    return d->lastDiskMerge;
}

QStringList PasswordStore::ConflictCopies(const QString &path)
{
    return findConflictCopies(path);
}
