#include "DiskFile.h"

#include <cerrno>
#include <fcntl.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <sodium.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// Far above any real password file (100,000 records take about 20 MB); keeps a
// stray multi-gigabyte file from being read into memory.
constexpr qint64 MaxFileSize = qint64(1) << 30;

static_assert(std::tuple_size_v<ContentHash> == crypto_generichash_BYTES);

// The file's path with every link resolved, also before the file exists (a
// first save), so that both ways of naming one file give one lock.
QString resolved(const QString &path)
{
    const QFileInfo info(path);
    QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty()) {
        return canonical;
    }
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') + info.fileName();
}

} // namespace

ContentHash contentHash(const QByteArray &bytes)
{
    ContentHash hash{};
    crypto_generichash(hash.data(), hash.size(),
                       reinterpret_cast<const unsigned char *>(bytes.data()),
                       static_cast<unsigned long long>(bytes.size()), nullptr, 0);
    return hash;
}

DiskCompare compareWithDisk(const QString &path, const DiskVersion &version)
{
    QFile file(path);
    if (!file.exists()) {
        return DiskCompare::Missing;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return DiskCompare::Unreadable;
    }
    if (file.size() != version.bytes.size()) {
        return DiskCompare::Different;
    }
    // Hashed in pieces: no second copy of a large file in memory.
    crypto_generichash_state state;
    crypto_generichash_init(&state, nullptr, 0, crypto_generichash_BYTES);
    std::array<char, std::size_t{64} * 1024> chunk{};
    qint64 total = 0;
    for (;;) {
        const qint64 n = file.read(chunk.data(), chunk.size());
        if (n < 0) {
            return DiskCompare::Unreadable;
        }
        if (n == 0) {
            break;
        }
        total += n;
        crypto_generichash_update(&state, reinterpret_cast<const unsigned char *>(chunk.data()),
                                  static_cast<unsigned long long>(n));
    }
    ContentHash hash{};
    crypto_generichash_final(&state, hash.data(), hash.size());
    return total == version.bytes.size() && hash == version.hash ? DiskCompare::Same
                                                                 : DiskCompare::Different;
}

QString shownPath(const QString &path)
{
    return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
}

bool readFileBytes(const QString &path, QByteArray &bytes, QString &error)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        error = QStringLiteral("The file %1 does not exist.").arg(shownPath(path));
        return false;
    }
    if (info.isDir()) {
        error = QStringLiteral("%1 is a folder, not a password file.").arg(shownPath(path));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("The file %1 cannot be read: %2.")
                    .arg(shownPath(path), file.errorString());
        return false;
    }
    if (file.size() > MaxFileSize) {
        error = QStringLiteral("The file %1 is too large to be a Vellumor password file.")
                    .arg(shownPath(path));
        return false;
    }
    // The size was checked above; readAll allocates only what the file holds.
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() > MaxFileSize) {
        error = QStringLiteral("The file %1 cannot be read: %2.")
                    .arg(shownPath(path), file.errorString());
        return false;
    }
    return true;
}

QString readFailure(ReadStatus status, const QString &path, const QString &detail)
{
    switch (status) {
    case ReadStatus::Ok:
        break;
    case ReadStatus::NotVellumor:
        return QStringLiteral("The file %1 is not a Vellumor password file.").arg(shownPath(path));
    case ReadStatus::NewerVersion:
        return QStringLiteral("The file %1 was written by a newer version of Vellumor and "
                              "cannot be opened by this one.")
            .arg(shownPath(path));
    case ReadStatus::WrongPassword:
        return QStringLiteral("Wrong password for the file %1.").arg(shownPath(path));
    case ReadStatus::Damaged:
        return QStringLiteral("The file %1 is damaged: %2.").arg(shownPath(path), detail);
    case ReadStatus::TooCostly:
        return QStringLiteral("The file %1 asks for a costlier key derivation than Vellumor "
                              "allows (at most %2 passes over %3 MiB) and was not opened.")
            .arg(shownPath(path))
            .arg(KdfParams::MaxOps)
            .arg(KdfParams::MaxMemKiB / 1024);
    }
    return QString();
}

bool isSameFile(const QString &a, const QString &b)
{
    return a == b || resolved(a) == resolved(b);
}

SaveLock::SaveLock(const QString &path)
{
    // Not QStandardPaths: without XDG_RUNTIME_DIR (cron, some ssh sessions) it
    // warns on standard error. The temporary folder is shared between users,
    // so the home folder goes into the name there.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const bool ownFolder = !runtime.isEmpty() && QFileInfo(runtime).isDir();
    const QString identity =
        ownFolder ? resolved(path) : QDir::homePath() + QLatin1Char('\n') + resolved(path);
    const ContentHash hash = contentHash(identity.toUtf8());
    const QByteArray hex = QByteArray(reinterpret_cast<const char *>(hash.data()), 16).toHex();
    const QString lockPath =
        QDir(ownFolder ? runtime : QDir::tempPath())
            .filePath(QStringLiteral("vellumor-save-%1.lock").arg(QLatin1String(hex)));
    m_fd = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // flock sleeps in the kernel until the lock is free; only a signal wakes it early.
    while (m_fd >= 0 && ::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

SaveLock::~SaveLock()
{
    if (m_fd >= 0) {
        ::close(m_fd); // lets go of the lock; the empty file stays for the next save
    }
}

QStringList findConflictCopies(const QString &path)
{
    const QFileInfo info(path);
    const QString base = QRegularExpression::escape(info.completeBaseName());
    // The extension in any case: some tools and file systems change it.
    const QString ext =
        info.suffix().isEmpty()
            ? QString()
            : QStringLiteral("\\.(?i:%1)").arg(QRegularExpression::escape(info.suffix()));
    const QStringList shapes = {
        // Syncthing: name.sync-conflict-20240102-030405-ABCDEF1.VLM
        QStringLiteral("%1\\.sync-conflict-\\d{8}-\\d{6}-[A-Z0-9]{7}%2"),
        // Nextcloud and ownCloud: name (conflicted copy 2024-01-02 030405).VLM
        QStringLiteral("%1 \\(conflicted copy (?:[^()]+ )?\\d{4}-\\d{2}-\\d{2} \\d{6}\\)%2"),
        // Newer Nextcloud and ownCloud: name_conflict-20240102-030405.VLM
        QStringLiteral("%1_conflict-\\d{8}-\\d{6}%2"),
        // Dropbox: name (Anna's conflicted copy 2024-01-02).VLM, maybe numbered
        QStringLiteral("%1 \\([^()]+['\u2019]s conflicted copy \\d{4}-\\d{2}-\\d{2}"
                       "(?: \\(\\d+\\))?\\)%2"),
    };
    QStringList patterns;
    for (const QString &shape : shapes) {
        patterns << shape.arg(base, ext);
    }
    const QRegularExpression pattern(
        QStringLiteral("^(?:%1)$").arg(patterns.join(QLatin1Char('|'))));
    QStringList copies;
    const QDir dir = info.dir();
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString &name : names) {
        if (pattern.match(name).hasMatch()) {
            copies << dir.filePath(name);
        }
    }
    return copies;
}
