// The store's file handling, records and file password.

#include "PasswordStoreImpl.h"

#include <algorithm>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <sodium.h>

namespace {

// Far above any real password file (100,000 records take about 20 MB); keeps a
// stray multi-gigabyte file from being read into memory.
constexpr qint64 MaxFileSize = qint64(1) << 30;
constexpr std::size_t HistoryCopies = 10;

QString shown(const QString &path)
{
    return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
}

// Reads a whole password file, or says why not.
bool readFileBytes(const QString &path, QByteArray &bytes, QString &error)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        error = QStringLiteral("The file %1 does not exist.").arg(shown(path));
        return false;
    }
    if (info.isDir()) {
        error = QStringLiteral("%1 is a folder, not a password file.").arg(shown(path));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error =
            QStringLiteral("The file %1 cannot be read: %2.").arg(shown(path), file.errorString());
        return false;
    }
    if (file.size() > MaxFileSize) {
        error = QStringLiteral("The file %1 is too large to be a Vellumor password file.")
                    .arg(shown(path));
        return false;
    }
    // The size was checked above; readAll allocates only what the file holds.
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() > MaxFileSize) {
        error =
            QStringLiteral("The file %1 cannot be read: %2.").arg(shown(path), file.errorString());
        return false;
    }
    return true;
}

bool writeAll(const SaveTargetFactory &factory, const QString &path, const QByteArray &bytes,
              QString &error)
{
    const std::unique_ptr<SaveTarget> target = factory(path);
    if (!target->open()) {
        error = target->errorString();
        return false;
    }
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = target->device().write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            error = target->device().errorString();
            return false;
        }
        done += n;
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
}

bool PasswordStore::NewFile()
{
    d->clearContent();
    d->password.clear();
    d->fileKey = FileKey();
    d->fileName = NewFileName;
    d->modified = false;
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

// Reads and decodes another file for open, import and merge.
bool readStoreFile(const QString &path, const QString &password, FileContent &content, FileKey &key,
                   QString &error, qint64 &kdfNs)
{
    QByteArray bytes;
    if (!readFileBytes(path, bytes, error)) {
        return false;
    }
    QString detail;
    switch (vlmfile::read(std::move(bytes), password, content, key, detail, &kdfNs)) {
    case ReadStatus::Ok:
        return true;
    case ReadStatus::NotVellumor:
        error = QStringLiteral("The file %1 is not a Vellumor password file.").arg(shown(path));
        break;
    case ReadStatus::NewerVersion:
        error = QStringLiteral("The file %1 was written by a newer version of Vellumor and "
                               "cannot be opened by this one.")
                    .arg(shown(path));
        break;
    case ReadStatus::WrongPassword:
        error = QStringLiteral("Wrong password for the file %1.").arg(shown(path));
        break;
    case ReadStatus::Damaged:
        error = QStringLiteral("The file %1 is damaged: %2.").arg(shown(path), detail);
        break;
    case ReadStatus::TooCostly:
        error = QStringLiteral("The file %1 asks for a costlier key derivation than Vellumor "
                               "allows (at most %2 passes over %3 MiB) and was not opened.")
                    .arg(shown(path))
                    .arg(KdfParams::MaxOps)
                    .arg(KdfParams::MaxMemKiB / 1024);
        break;
    }
    return false;
}

} // namespace

bool PasswordStore::OpenFile(const QString &path, const QString &password)
{
    FileContent content;
    FileKey key;
    QString error;
    if (!readStoreFile(path, password, content, key, error, d->lastKdfNs)) {
        return d->fail(error);
    }
    // The reader checked every rule, so from here on nothing can fail.
    d->load(std::move(content));
    if (key.isSet()) {
        d->kdf = key.params;
        d->password = utf8Secret(password);
    } else {
        d->password.clear();
    }
    d->fileKey = std::move(key);
    d->fileName = path;
    d->modified = false;
    return true;
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
    auto &records = d->passwords;
    for (auto &[otherKey, e] : other.passwords) {
        e.codcat = categoryMap.value(e.codcat);
        e.CodSCat = subcategoryMap.value(e.CodSCat);
        const PasswordEntry *existing = records.find(e.service);
        if (existing == nullptr) {
            const QString service = e.service;
            records.insert(service, std::move(e));
            ++result.added;
            continue;
        }
        if (*existing == e) {
            ++result.skipped;
            continue;
        }
        // The same service with other content: keep both, the newcomer renamed,
        // unless an earlier merge already brought it in under such a name.
        const QString service = e.service;
        for (int n = 2;; ++n) {
            e.service = QStringLiteral("%1 (%2)").arg(service).arg(n);
            const PasswordEntry *taken = records.find(e.service);
            if (taken == nullptr) {
                const QString renamedKey = e.service;
                records.insert(renamedKey, std::move(e));
                ++result.renamed;
                break;
            }
            if (*taken == e) {
                ++result.skipped;
                break;
            }
        }
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

bool PasswordStore::SaveFile(const QString &path, bool BackupFile, bool BackupHistory)
{
    if (d->fileName.isEmpty()) {
        return d->fail(QStringLiteral("No password file is open."));
    }
    const QString target = path.isEmpty() ? d->fileName : path;
    if (target == NewFileName) {
        return d->fail(QStringLiteral("The new file has no name yet: save it under a name."));
    }
    FileKey key = d->fileKey;
    if (!d->password.isEmpty() && !key.isSet()) {
        const QString password =
            QString::fromUtf8(reinterpret_cast<const char *>(d->password.data()),
                              static_cast<qsizetype>(d->password.size()));
        if (!vlmfile::deriveKey(password, d->kdf, key)) {
            return d->fail(QStringLiteral("The key for the file password could not be derived "
                                          "(not enough memory?)."));
        }
    }
    if (d->password.isEmpty()) {
        key = FileKey();
    }
    QByteArray bytes;
    {
        const Impl::Snapshot snapshot(*d);
        bytes = vlmfile::write(snapshot.content, key);
    }

    QString error;
    if ((BackupFile || BackupHistory) && QFileInfo::exists(target)) {
        QByteArray previous;
        if (!readFileBytes(target, previous, error)) {
            return d->fail(QStringLiteral("The file %1 could not be saved, because its backup "
                                          "copy failed: %2")
                               .arg(shown(target), error));
        }
        QStringList copies;
        if (BackupFile) {
            copies << target + QStringLiteral(".bak");
        }
        if (BackupHistory) {
            const QString stamp = d->now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
            QString name = QStringLiteral("%1.%2.bak").arg(target, stamp);
            for (int n = 2; QFileInfo::exists(name); ++n) {
                name = QStringLiteral("%1.%2-%3.bak").arg(target, stamp).arg(n);
            }
            copies << name;
        }
        for (const QString &copy : std::as_const(copies)) {
            if (!writeAll(d->saveTargetFactory, copy, previous, error)) {
                return d->fail(QStringLiteral("The file %1 could not be saved, because its "
                                              "backup copy %2 failed: %3.")
                                   .arg(shown(target), shown(copy), error));
            }
        }
    }
    if (!writeAll(d->saveTargetFactory, target, bytes, error)) {
        return d->fail(QStringLiteral("The file %1 could not be saved: %2. The previous "
                                      "version of the file is unchanged.")
                           .arg(shown(target), error));
    }
    if (BackupHistory) {
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
    d->fileKey = std::move(key);
    d->fileName = target;
    d->modified = false;
    return true;
}
