#pragma once

#include "Collection.h"
#include "KdfParams.h"
#include "Records.h"
#include "SaveTarget.h"

#include <functional>
#include <memory>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

// Receives the items of a category or subcategory list; the GUI adapts its
// combo boxes and list boxes to this, so the store needs no widget header.
class ListSink
{
public:
    virtual ~ListSink() = default;
    virtual void Clear() = 0;
    virtual void AddItem(const QString &text, int itemData) = 0;
};

// What MergeFile or MergeRecords did with the records brought in.
struct MergeResult
{
    int added = 0;   // records whose service was new here
    int renamed = 0; // records added under a new name because the service existed
    int skipped = 0; // records identical to one already here
    int unnamed = 0; // records without a service name, left out (MergeRecords only)
};

// How the file on disk stands against the version this store last read or wrote.
enum class DiskState
{
    Unchanged,  // the same bytes (a touched file with the same content included)
    Changed,    // other content: saved elsewhere, replaced or damaged
    Missing,    // nothing at the file's name (deleted or moved, maybe for a moment)
    Unreadable, // something there that cannot be read (a folder, no permission)
    NotOnDisk,  // no file read or written yet: a new file, or none open
};

// How reading the file's current version from disk went.
enum class DiskReadStatus
{
    Ok,
    // The password held (or given) does not open it: it was changed on
    // another device. Ask for the new one and call again with it.
    PasswordChanged,
    Failed, // anything else, told by LastError
};

// What a three-way merge of the version on disk brought into memory; records
// are counted, categories and subcategories apart.
struct DiskMergeResult
{
    bool merged = false; // the disk held another version and it was merged
    int added = 0;       // records new on disk, added here
    int changed = 0;     // records changed on disk only, taken from there
    int deleted = 0;     // records deleted on disk only, deleted here too
    int conflicts = 0;   // changed on both sides differently: both kept
    int kept = 0;        // deleted on one side, changed on the other: the changed one kept
    int categoriesAdded = 0;
    int categoriesDeleted = 0;
    int subcategoriesAdded = 0;
    int subcategoriesDeleted = 0;
    // The names the other versions of conflicting records were given.
    QStringList conflictNames;
};

// The data engine: holds one password file in memory, reads and writes it.
// Every operation that can fail answers a bool and leaves the reason in LastError.
class PasswordStore
{
public:
    // The name a new file carries until it is saved under a real one.
    static const QString NewFileName;

    PasswordStore();
    ~PasswordStore();
    PasswordStore(const PasswordStore &) = delete;
    PasswordStore &operator=(const PasswordStore &) = delete;

    QString LastError() const;
    QString FileName() const;
    bool Modified() const;
    // Grows whenever records may have been added, removed or replaced. A
    // pointer to a record stays valid for as long as the revision it was
    // taken under lasts, so views may hold pointers instead of copies. It
    // starts at a random value, so a view that finds another store at the
    // address it knew can tell it from the old one.
    quint64 Revision() const;

    // Keyed by service, by category name, and by codcat + "!" + subcategory name.
    const Collection<PasswordEntry> &Passwords() const;
    const Collection<Category> &Categories() const;
    const Collection<SubCategory> &SubCategories() const;

    bool NewFile();
    bool OpenFile(const QString &path, const QString &password);
    // Adds the other file's missing categories and subcategories, matched by name.
    bool ImportFile(const QString &path, const QString &password);
    // As ImportFile, and brings the records too; nothing here is overwritten.
    bool MergeFile(const QString &path, const QString &password, MergeResult &result);
    // Brings records read from elsewhere in by the same rules as MergeFile.
    // Missing categories and subcategories are created by name (matched
    // ignoring case, so an existing one keeps its spelling). A subcategory
    // without category becomes a category of that name. Records whose service
    // is blank are left out and counted as unnamed; a blank folder name is
    // none. Codes in the entries are ignored. False when no file is open, or
    // when the file has no code left for a new folder (what came before that
    // record stays, counted in result).
    bool MergeRecords(std::vector<NamedRecord> records, MergeResult &result);
    // False only for a readable Vellumor file that is protected by a password.
    bool HasNoPassword(const QString &path) const;
    // path "" saves under the current name. Saving under the current name
    // never overwrites a version saved elsewhere: when the file changed since
    // it was read or written here, that version is merged three ways first
    // (see MergeChangesOnDisk) and LastDiskMerge tells what came in. When the
    // held password no longer opens it, nothing is written and LastError
    // says so. Save As to another file merges nothing.
    bool SaveFile(const QString &path, bool BackupFile, bool BackupHistory);

    // Files shared through sync folders. The store keeps the exact bytes it
    // last read from or wrote to its file.
    DiskState CheckDisk() const;
    // Replaces everything in memory with the file's current version, read
    // with the held password; unsaved changes are dropped (reload only a file
    // without them, merge otherwise). Not modified afterwards.
    DiskReadStatus ReloadFile();
    // The same with the password given by the user after PasswordChanged; it
    // becomes the held one.
    DiskReadStatus ReloadFile(const QString &password);
    // Merges the file's current version into memory three ways, against the
    // version last read or written: a record (keyed by service), category or
    // subcategory (keyed by name) added, changed or deleted on one side only
    // takes that side's state; changed on both sides alike, one copy; changed
    // on both sides differently, ours keeps its name and the other is added as
    // "<service> (changed elsewhere)" (numbered when taken); deleted on one
    // side and changed on the other, the changed one stays, and so do the
    // categories and subcategories it needs. Codes are matched by names and
    // new ones get free codes here. The expanded nodes stay ours. Afterwards
    // the store is modified and the merged disk version is the new base, so
    // merging it again changes nothing. The file password follows the disk
    // unless it was changed here since. Ok with result.merged false when the
    // disk holds the version already known.
    DiskReadStatus MergeChangesOnDisk(DiskMergeResult &result);
    // The same when the password was changed elsewhere: password opens the
    // disk version (the held one still opens the base).
    DiskReadStatus MergeChangesOnDisk(const QString &password, DiskMergeResult &result);
    // What the last SaveFile (or MergeChangesOnDisk) merged from disk.
    const DiskMergeResult &LastDiskMerge() const;
    // The conflict copies sync tools left beside path (Syncthing
    // "name.sync-conflict-...", Nextcloud/ownCloud "name (conflicted copy
    // ...)" and "name_conflict-...", Dropbox "name (...'s conflicted copy
    // ...)"), as full paths sorted by name. They share no known base with the
    // file, so MergeFile (two ways) is the way to take one in: it adds what is
    // missing and keeps both versions of what differs; a record deleted on one
    // side may come back, which loses nothing and the user can delete again.
    static QStringList ConflictCopies(const QString &path);

    bool AddCategory(const QString &name);
    bool DeleteCategory(const QString &name, bool keep);
    bool RenameCategory(const QString &oldName, const QString &newName);
    bool AddSubCategory(qint16 codcat, const QString &name);
    bool DeleteSubCategory(qint16 codcat, const QString &name, bool keep);
    // flag true: the subcategory's records go to category newCode with no
    // subcategory and the subcategory is removed. flag false: an empty
    // subcategory of the same name is created under newCode; the original stays.
    bool CopySubCategory(qint16 oldCode, qint16 newCode, const QString &name, bool flag);
    bool RenameSubCategory(qint16 codcat, const QString &oldName, const QString &newName);
    bool MoveSubCategory(const QString &name, qint16 oldCode, qint16 newCode);
    QString CategoryName(qint16 codcat) const;
    QString SubCategoryName(qint16 CodSCat) const;
    bool MoveCategoryToSubCategory(const QString &name, qint16 targetCode);
    // "" counts the records without category.
    int CountCategoryPasswords(const QString &name) const;
    // "" counts the records of the category without subcategory.
    int CountSubCategoryPasswords(qint16 codcat, const QString &name) const;
    // An empty firstItem adds no first item; the first item's data is 0.
    void FillCategoryList(ListSink &list, const QString &firstItem) const;
    void FillSubCategoryList(ListSink &list, qint16 codcat, const QString &firstItem) const;

    bool AddPassword(const PasswordEntry &record);
    bool UpdatePassword(const PasswordEntry &record, const QString &oldService, qint16 oldCodcat,
                        qint16 oldCodSCat);
    bool DeletePassword(const QString &key);
    bool MovePassword(const QString &key, qint16 codcat, qint16 CodSCat);

    // "" removes the file password at the next save.
    void SetPassword(const QString &password);
    QString Title() const;
    bool CheckPassword(const QString &password) const;
    bool GetNodeExpanded(const QString &nodeKey) const;
    void SetNodeExpanded(const QString &nodeKey, bool expanded);
    // 1 user name, 2 password, 3 notes, 4 URL, 5 ChangeURL, 6 ExpURL; else "".
    QString GetField(int field, const QString &key) const;
    // The records without category; the root's text is passed and not needed.
    int CountNodePasswords(const QString &rootText) const;

    // Beyond the contract: key derivation cost for files this object writes
    // with a password from now on (tests and benchmarks use cheap ones).
    void SetKdfParams(const KdfParams &params);
    KdfParams GetKdfParams() const;
    // Time the last OpenFile/ImportFile/MergeFile spent deriving the key.
    qint64 LastKdfNanoseconds() const;
    // Where saves go; tests put failing devices here.
    void SetSaveTargetFactory(SaveTargetFactory factory);
    // The clock that stamps history backups.
    void SetClock(std::function<QDateTime()> now);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
