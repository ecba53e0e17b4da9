#pragma once

// Private to the store: the state shared by PasswordStore.cpp (files, records,
// password) and PasswordStoreTree.cpp (categories and subcategories).

#include "DiskFile.h"
#include "FileFormat.h"
#include "PasswordStore.h"

#include <QHash>
#include <QMap>
#include <QRandomGenerator>
#include <QSet>

struct PasswordStore::Impl
{
    QString lastError;
    QString fileName;
    bool modified = false;
    // Starts anywhere, so that no two stores are ever at the same revision.
    quint64 revision = QRandomGenerator::global()->generate64();

    Collection<PasswordEntry> passwords;
    Collection<Category> categories;
    Collection<SubCategory> subcategories;
    QMap<qint16, QString> categoryNameByCode;   // ordered: the highest code is at hand
    QMap<qint16, QString> subcategoryKeyByCode; // code -> key in subcategories
    QSet<QString> expanded;                     // case-folded node texts

    SecureBytes password; // UTF-8, empty for a file without password
    FileKey fileKey;      // derived from password; empty while it must be derived anew
    KdfParams kdf = KdfParams::Moderate();
    qint64 lastKdfNs = 0;

    // The version of the file last read or written here, and what opens it:
    // the base of three-way merges with what another device saved.
    DiskVersion base;
    SecureBytes basePassword;
    FileKey baseKey;
    bool passwordChanged = false; // SetPassword since the base
    DiskMergeResult lastDiskMerge;

    SaveTargetFactory saveTargetFactory = makeFileSaveTarget;
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

    // Record counts per category and per (category, subcategory), rebuilt on
    // demand after a change: the tree asks for many of them in a row.
    mutable bool countsValid = false;
    mutable QHash<qint16, int> categoryCounts;
    mutable QHash<quint32, int> subcategoryCounts;

    bool fail(const QString &message)
    {
        lastError = message;
        return false;
    }
    void changed()
    {
        modified = true;
        countsValid = false;
        ++revision;
    }
    void clearContent();
    void rebuildCounts() const;
    static quint32 pairKey(qint16 codcat, qint16 CodSCat)
    {
        return (quint32(quint16(codcat)) << 16) | quint16(CodSCat);
    }
    static QString subKey(qint16 codcat, const QString &name)
    {
        return QString::number(codcat) + QLatin1Char('!') + name;
    }

    // Checks that a record may point at (codcat, CodSCat).
    bool checkPlacement(qint16 codcat, qint16 CodSCat);
    // A free code: the next after the highest, else the lowest gap; 0 when none is left.
    static qint16 freeCode(const QMap<qint16, QString> &used);
    // Replaces everything with content read (and checked) by the file reader.
    void load(FileContent &&content);
    class Snapshot;
    // Categories and subcategories of other that are missing here, by name.
    // Fills the maps from the other file's codes to ours.
    bool mergeTree(const FileContent &other, QHash<qint16, qint16> &categoryMap,
                   QHash<qint16, qint16> &subcategoryMap, bool &addedSomething);
    // True when path names the open file, nothing changed here since it was
    // read or saved, and the disk holds that very version.
    bool showsUnchanged(const QString &path) const;
    // The state after opening path with the password given and its key; image
    // is the file read, null when the base already holds it.
    void opened(const QString &path, const QString &given, FileKey key, DiskVersion *image);
    // The base becomes bytes, opened by password and key.
    void setBase(QByteArray bytes, SecureBytes basePass, FileKey key);
    void setBase(DiskVersion image, SecureBytes basePass, FileKey key);
    // Reads the file's current version; with password null, by the base's
    // password or key.
    DiskReadStatus readDisk(const QString *password, QByteArray &bytes, FileContent &content,
                            FileKey &key);
    // Merges the version in bytes (decoded as content, opened by password and
    // key) three ways against the base and makes it the new base.
    bool mergeDiskVersion(QByteArray bytes, FileContent &&theirs, SecureBytes password, FileKey key,
                          DiskMergeResult &result);
    // False, with the reason in lastError, when nothing was read from or saved to disk yet.
    bool hasDiskVersion();
    DiskReadStatus reload(const QString *password);
    DiskReadStatus mergeFromDisk(const QString *password, DiskMergeResult &result);
    // Before a save under the file's own name: merges what was saved
    // elsewhere since the base, adding to lastDiskMerge.
    bool takeChangesOnDisk();
    // The key to save with: none, the held one, or one derived anew.
    bool saveKey(FileKey &key);
    bool backUp(const QString &target, bool BackupFile, bool BackupHistory);
    void pruneHistory(const QString &target);
    void mergeThreeWay(const FileContent &baseContent, const FileContent &theirs,
                       DiskMergeResult &result);
    // Adds a record brought in by a merge, codes already ours: under its own
    // service when free; not at all when identical to the record there (or to
    // one an earlier merge renamed); else as "<service> (n)".
    void mergeRecord(PasswordEntry e, MergeResult &result);
    bool addCategory(const QString &name, qint16 *codeOut);
    bool addSubCategory(qint16 codcat, const QString &name, qint16 *codeOut);
    void insertSubCategory(SubCategory s);
    void eraseSubCategory(const QString &key);
};

// A copy of text in locked memory; the temporary UTF-8 bytes are wiped.
SecureBytes utf8Secret(const QString &text);

// The text of a secret kept as UTF-8; wipe it after use.
QString textOf(const SecureBytes &secret);

// True for a name that has something besides blanks.
bool isUsableName(const QString &name);
