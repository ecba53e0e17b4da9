// The store's file handling, records and file password.

#include "PasswordStoreImpl.h"

#include <algorithm>
#include <future>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <sodium.h>
#include <system_error>

namespace {

constexpr std::size_t HistoryCopies = 10;
// Saves that find the file replaced again between merge and rename before giving up.
constexpr int SaveAttempts = 3;

// Everything but the commit, which alone replaces the file.
bool writeUncommitted(SaveTarget &target, const QByteArray &bytes, QString &error)
{
    if (!target.open()) {
        error = target.errorString();
        return false;
    }
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = target.device().write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            error = target.device().errorString();
            return false;
        }
        done += n;
    }
    return true;
}

bool writeAll(const SaveTargetFactory &factory, const QString &path, const QByteArray &bytes,
              QString &error)
{
    const std::unique_ptr<SaveTarget> target = factory(path);
    if (!writeUncommitted(*target, bytes, error)) {
        return false;
    }
    if (!target->commit()) {
        error = target->errorString();
        return false;
    }
    return true;
}

} // namespace

const QString PasswordStore::NewFileName = QStringLiteral("<New VLM File>");

PasswordStore::PasswordStore() : d(std::make_unique<Impl>())
{
    if (sodium_init() < 0) {
        d->lastError = QStringLiteral("The cryptography library could not be started.");
    }
}

PasswordStore::~PasswordStore()
{
    d->clearContent();
}

QString PasswordStore::LastError() const
{
    return d->lastError;
}

QString PasswordStore::FileName() const
{
    return d->fileName;
}

bool PasswordStore::Modified() const
{
    return d->modified;
}

quint64 PasswordStore::Revision() const
{
    return d->revision;
}

const Collection<PasswordEntry> &PasswordStore::Passwords() const
{
    return d->passwords;
}

const Collection<Category> &PasswordStore::Categories() const
{
    return d->categories;
}

const Collection<SubCategory> &PasswordStore::SubCategories() const
{
    return d->subcategories;
}

void PasswordStore::Impl::clearContent()
{
    // Freed memory keeps what it held: the texts go blank first. A text still
    // shared with a copy elsewhere is left to that copy's holder.
    for (auto &[key, e] : passwords.m_map) {
        for (QString *text :
             {&e.service, &e.UserName, &e.Password, &e.Notes, &e.URL, &e.ChangeURL, &e.ExpURL}) {
            wipeText(*text);
        }
    }
    passwords.m_map.clear();
    categories.m_map.clear();
    subcategories.m_map.clear();
    categoryNameByCode.clear();
    subcategoryKeyByCode.clear();
    expanded.clear();
    countsValid = false;
    ++revision;
}

bool PasswordStore::NewFile()
{
    d->clearContent();
    d->password.clear();
    d->fileKey = FileKey();
    d->fileName = NewFileName;
    d->modified = false;
    d->base.clear();
    d->basePassword.clear();
    d->baseKey = FileKey();
    d->passwordChanged = false;
    return true;
}

void PasswordStore::Impl::load(FileContent &&content)
{
    clearContent();
    for (Category &c : content.categories) {
        categoryNameByCode.insert(c.codcat, c.DescrCat);
        const QString name = c.DescrCat;
        categories.insertInOrder(name, std::move(c));
    }
    for (SubCategory &s : content.subcategories) {
        insertSubCategory(std::move(s));
    }
    passwords.m_map = std::move(content.passwords);
    for (const QString &text : content.expandedNodes) {
        expanded.insert(text.toCaseFolded());
    }
}

// Lends the records to a FileContent for writing and takes them back, so a
// save copies none of them.
class PasswordStore::Impl::Snapshot
{
public:
    explicit Snapshot(Impl &impl) : m_impl(impl)
    {
        content.categories.reserve(impl.categories.m_map.size());
        for (const Category &c : impl.categories) {
            content.categories.push_back(c);
        }
        content.subcategories.reserve(impl.subcategories.m_map.size());
        for (const SubCategory &s : impl.subcategories) {
            content.subcategories.push_back(s);
        }
        content.expandedNodes = QStringList(impl.expanded.cbegin(), impl.expanded.cend());
        content.expandedNodes.sort();
        content.passwords = std::move(impl.passwords.m_map);
    }
    ~Snapshot() { m_impl.passwords.m_map = std::move(content.passwords); }
    Snapshot(const Snapshot &) = delete;
    Snapshot &operator=(const Snapshot &) = delete;

    FileContent content;

private:
    Impl &m_impl;
};

namespace {

// The hash of a file image, taken on another core while the caller decodes
// it (about 20 ms for 100,000 records); here when no thread can be had.
std::future<ContentHash> hashAside(const QByteArray &bytes)
{
    try {
        // The copy shares the bytes: nobody writes to them meanwhile.
        return std::async(std::launch::async, [bytes] { return contentHash(bytes); });
    } catch (const std::system_error &) {
        std::promise<ContentHash> done;
        done.set_value(contentHash(bytes));
        return done.get_future();
    }
}

// Reads and decodes a file for open, import and merge; kept receives its image.
bool readStoreFile(const QString &path, const QString &password, FileContent &content, FileKey &key,
                   QString &error, qint64 &kdfNs, DiskVersion *kept = nullptr)
{
    QByteArray bytes;
    if (!readFileBytes(path, bytes, error)) {
        return false;
    }
    std::future<ContentHash> hash;
    if (kept != nullptr) {
        hash = hashAside(bytes);
        kept->bytes = bytes; // shared, not copied: the reader lets go of its reference
    }
    QString detail;
    const ReadStatus status =
        vlmfile::read(std::move(bytes), password, content, key, detail, &kdfNs);
    error = readFailure(status, path, detail);
    if (kept != nullptr) {
        kept->set(std::move(kept->bytes), hash.get());
    }
    return status == ReadStatus::Ok;
}

} // namespace

bool PasswordStore::OpenFile(const QString &path, const QString &password)
{
    QString error;
    FileKey key;
    if (d->showsUnchanged(path)) {
        // The open file once more (a second start hands it over), unchanged
        // here and on disk: reading it would give what memory holds, so only
        // the password is checked, and a large file is not held twice.
        QString detail;
        const ReadStatus status =
            vlmfile::checkPassword(d->base.bytes, password, key, detail, &d->lastKdfNs);
        if (status != ReadStatus::Ok) {
            return d->fail(readFailure(status, path, detail));
        }
        d->opened(path, password, std::move(key), nullptr);
        return true;
    }
    FileContent content;
    DiskVersion image;
    if (!readStoreFile(path, password, content, key, error, d->lastKdfNs, &image)) {
        return d->fail(error);
    }
    // The reader checked every rule, so from here on nothing can fail.
    d->load(std::move(content));
    d->opened(path, password, std::move(key), &image);
    return true;
}

bool PasswordStore::Impl::showsUnchanged(const QString &path) const
{
    return !modified && base.isSet && !fileName.isEmpty() && isSameFile(path, fileName) &&
           compareWithDisk(path, base) == DiskCompare::Same;
}

void PasswordStore::Impl::opened(const QString &path, const QString &given, FileKey key,
                                 DiskVersion *image)
{
    if (key.isSet()) {
        kdf = key.params;
        password = utf8Secret(given);
    } else {
        password.clear();
    }
    fileKey = key;
    if (image != nullptr) {
        setBase(std::move(*image), password, std::move(key));
    } else {
        basePassword = password;
        baseKey = std::move(key);
    }
    passwordChanged = false;
    lastDiskMerge = DiskMergeResult();
    fileName = path;
    modified = false;
}

bool PasswordStore::ImportFile(const QString &path, const QString &password)
{
    if (d->fileName.isEmpty()) {
        return d->fail(QStringLiteral("No password file is open."));
    }
    FileContent other;
    FileKey key;
    QString error;
    if (!readStoreFile(path, password, other, key, error, d->lastKdfNs)) {
        return d->fail(error);
    }
    QHash<qint16, qint16> categoryMap;
    QHash<qint16, qint16> subcategoryMap;
    bool added = false;
    return d->mergeTree(other, categoryMap, subcategoryMap, added);
}

bool PasswordStore::MergeFile(const QString &path, const QString &password, MergeResult &result)
{
    result = MergeResult();
    if (d->fileName.isEmpty()) {
        return d->fail(QStringLiteral("No password file is open."));
    }
    FileContent other;
    FileKey key;
    QString error;
    if (!readStoreFile(path, password, other, key, error, d->lastKdfNs)) {
        return d->fail(error);
    }
    QHash<qint16, qint16> categoryMap;
    QHash<qint16, qint16> subcategoryMap;
    bool added = false;
    if (!d->mergeTree(other, categoryMap, subcategoryMap, added)) {
        return false;
    }
    for (auto &[otherKey, e] : other.passwords) {
        e.codcat = categoryMap.value(e.codcat);
        e.CodSCat = subcategoryMap.value(e.CodSCat);
        d->mergeRecord(std::move(e), result);
    }
    if (result.added + result.renamed > 0) {
        d->changed();
    }
    return true;
}

bool PasswordStore::HasNoPassword(const QString &path) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return true; // OpenFile will tell what is wrong without asking for a password first
    }
    return !vlmfile::isProtected(file.read(vlmfile::HeaderSize));
}

bool PasswordStore::Impl::saveKey(FileKey &key)
{
    if (password.isEmpty()) {
        key = FileKey();
        return true;
    }
    key = fileKey;
    if (!key.isSet()) {
        QString text = textOf(password);
        const bool derived = vlmfile::deriveKey(text, kdf, key);
        wipeText(text);
        if (!derived) {
            return fail(QStringLiteral("The key for the file password could not be derived "
                                       "(not enough memory?)."));
        }
    }
    return true;
}

bool PasswordStore::Impl::backUp(const QString &target, bool BackupFile, bool BackupHistory)
{
    if (!(BackupFile || BackupHistory) || !QFileInfo::exists(target)) {
        return true;
    }
    QString error;
    QByteArray previous;
    if (!readFileBytes(target, previous, error)) {
        return fail(QStringLiteral("The file %1 could not be saved, because its backup "
                                   "copy failed: %2")
                        .arg(shownPath(target), error));
    }
    QStringList copies;
    if (BackupFile) {
        copies << target + QStringLiteral(".bak");
    }
    if (BackupHistory) {
        const QString stamp = now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        QString name = QStringLiteral("%1.%2.bak").arg(target, stamp);
        for (int n = 2; QFileInfo::exists(name); ++n) {
            name = QStringLiteral("%1.%2-%3.bak").arg(target, stamp).arg(n);
        }
        copies << name;
    }
    for (const QString &copy : std::as_const(copies)) {
        if (!writeAll(saveTargetFactory, copy, previous, error)) {
            return fail(QStringLiteral("The file %1 could not be saved, because its "
                                       "backup copy %2 failed: %3.")
                            .arg(shownPath(target), shownPath(copy), error));
        }
    }
    return true;
}

void PasswordStore::Impl::pruneHistory(const QString &target)
{
    // Keep the newest copies; the time stamps sort by age.
    const QFileInfo info(target);
    const QRegularExpression pattern(QStringLiteral("^%1\\.(\\d{8}-\\d{6})(?:-(\\d+))?\\.bak$")
                                         .arg(QRegularExpression::escape(info.fileName())));
    struct Copy
    {
        QString name;
        QString stamp;
        int serial;
    };
    std::vector<Copy> history;
    const QStringList names = info.dir().entryList(QDir::Files);
    for (const QString &name : names) {
        const auto match = pattern.match(name);
        if (match.hasMatch()) {
            const int serial = match.captured(2).isEmpty() ? 1 : match.captured(2).toInt();
            history.push_back({name, match.captured(1), serial});
        }
    }
    std::sort(history.begin(), history.end(), [](const Copy &a, const Copy &b) {
        return a.stamp != b.stamp ? a.stamp > b.stamp : a.serial > b.serial;
    });
    for (std::size_t i = HistoryCopies; i < history.size(); ++i) {
        QFile::remove(info.dir().filePath(history[i].name));
    }
}

bool PasswordStore::SaveFile(const QString &path, bool BackupFile, bool BackupHistory)
{
    if (d->fileName.isEmpty()) {
        return d->fail(QStringLiteral("No password file is open."));
    }
    const QString target = path.isEmpty() ? d->fileName : path;
    if (target == NewFileName) {
        return d->fail(QStringLiteral("The new file has no name yet: save it under a name."));
    }
    d->lastDiskMerge = DiskMergeResult();
    QString error;
    // From the check of the disk to the rename: no other Vellumor process of
    // this user saves the file in between.
    const SaveLock lock(target);
    // Only the file read or written here has a version to merge against; Save
    // As replaces another file as the user asked.
    const bool ownFile = d->base.isSet && isSameFile(target, d->fileName);
    if (ownFile && !d->takeChangesOnDisk()) {
        return false;
    }
    if (!d->backUp(target, BackupFile, BackupHistory)) {
        return false;
    }
    for (int attempt = 1;; ++attempt) {
        FileKey key;
        if (!d->saveKey(key)) {
            return false;
        }
        QByteArray bytes;
        {
            const Impl::Snapshot snapshot(*d);
            bytes = vlmfile::write(snapshot.content, key);
        }
        std::unique_ptr<SaveTarget> file = d->saveTargetFactory(target);
        if (!writeUncommitted(*file, bytes, error)) {
            return d->fail(QStringLiteral("The file %1 could not be saved: %2. The previous "
                                          "version of the file is unchanged.")
                               .arg(shownPath(target), error));
        }
        // A sync tool is no Vellumor process and takes no lock: a version it
        // put there since the check is merged too, never overwritten. What
        // remains is the moment between this check and the rename.
        if (ownFile && compareWithDisk(target, d->base) == DiskCompare::Different) {
            file.reset(); // not committed: the file on disk stays
            if (attempt == SaveAttempts) {
                return d->fail(QStringLiteral("The file %1 kept changing on disk while it was "
                                              "being saved, so it was not saved. Try again.")
                                   .arg(shownPath(target)));
            }
            if (!d->takeChangesOnDisk()) {
                return false;
            }
            continue;
        }
        if (!file->commit()) {
            return d->fail(QStringLiteral("The file %1 could not be saved: %2. The previous "
                                          "version of the file is unchanged.")
                               .arg(shownPath(target), file->errorString()));
        }
        if (BackupHistory) {
            d->pruneHistory(target);
        }
        d->fileKey = key;
        d->setBase(std::move(bytes), d->password, std::move(key));
        d->passwordChanged = false;
        d->fileName = target;
        d->modified = false;
        return true;
    }
}
