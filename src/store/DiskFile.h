#pragma once

// The password file as it lies on disk: reading it whole, the version this
// program last read or wrote, the lock that keeps two Vellumor processes from
// saving one file at the same moment, and the copies sync tools leave beside it.

#include "FileFormat.h"

#include <array>
#include <QByteArray>
#include <QString>
#include <QStringList>

using ContentHash = std::array<unsigned char, 32>;

ContentHash contentHash(const QByteArray &bytes);

// The file's bytes exactly as last read or written (encrypted when the file
// has a password, so keeping them exposes nothing), with what opens them.
struct DiskVersion
{
    QByteArray bytes;
    ContentHash hash{};
    bool isSet = false;

    void set(QByteArray fileBytes)
    {
        const ContentHash fileHash = contentHash(fileBytes);
        set(std::move(fileBytes), fileHash);
    }
    // With the hash of fileBytes taken already.
    void set(QByteArray fileBytes, const ContentHash &fileHash)
    {
        hash = fileHash;
        bytes = std::move(fileBytes);
        isSet = true;
    }
    void clear() { *this = DiskVersion(); }
};

enum class DiskCompare
{
    Same,
    Different,
    Missing,
    Unreadable,
};

// Size first (no read when it differs), then the content hash. The time stamp
// decides nothing: a sync tool may replace a file keeping its size and time,
// and a touched file with the same content is no change.
DiskCompare compareWithDisk(const QString &path, const DiskVersion &version);

// Reads a whole password file, or says why not.
bool readFileBytes(const QString &path, QByteArray &bytes, QString &error);

// The reader's verdict as a sentence about path.
QString readFailure(ReadStatus status, const QString &path, const QString &detail);

// The path in quotes, in the platform's notation, for messages.
QString shownPath(const QString &path);

// True when both name the same file (the same absolute path once resolved).
bool isSameFile(const QString &a, const QString &b);

// Held from the check of the disk to the rename of the new file, so that two
// Vellumor processes of this user cannot both see the old version and both
// write. It lives in the user's runtime folder, not beside the file: a lock
// file in a sync folder would travel to the other devices. Sync tools take
// no locks, so nothing covers them. The kernel's lock (flock) waits without
// polling and is let go when its process ends, however it ends.
class SaveLock
{
public:
    // Waits until no other Vellumor process saves the file (a save holds it
    // for the time of one merge and write). A lock that cannot be made at all
    // is no reason to refuse the save: it guards against a rare race.
    explicit SaveLock(const QString &path);
    ~SaveLock();
    SaveLock(const SaveLock &) = delete;
    SaveLock &operator=(const SaveLock &) = delete;

private:
    int m_fd = -1;
};

// The conflict copies of path that Syncthing, Nextcloud/ownCloud and Dropbox
// leave in its folder, sorted by name.
QStringList findConflictCopies(const QString &path);
