#pragma once

#include "Collection.h"
#include "KdfParams.h"
#include "Records.h"
#include "SaveTarget.h"

#include <functional>
#include <memory>
#include <QDateTime>
#include <QString>

// Receives the items of a category or subcategory list; the GUI adapts its
// combo boxes and list boxes to this, so the store needs no widget header.
class ListSink
{
public:
    virtual ~ListSink() = default;
    virtual void Clear() = 0;
    virtual void AddItem(const QString &text, int itemData) = 0;
};

// What MergeFile did with the other file's records.
struct MergeResult
{
    int added = 0;   // records whose service was new here
    int renamed = 0; // records added under a new name because the service existed
    int skipped = 0; // records identical to one already here
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
    // False only for a readable Vellumor file that is protected by a password.
    bool HasNoPassword(const QString &path) const;
    // path "" saves under the current name.
    bool SaveFile(const QString &path, bool BackupFile, bool BackupHistory);

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
