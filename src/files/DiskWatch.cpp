#include "DiskWatch.h"

#include <QFileInfo>

namespace files {

DiskWatch::DiskWatch(int settleMs, QObject *parent) : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(settleMs);
    connect(&m_settle, &QTimer::timeout, this, &DiskWatch::changed);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &DiskWatch::seen);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &DiskWatch::seen);
}

void DiskWatch::watch(const QString &path)
{
    const QString wanted = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    if (wanted == m_path && (m_path.isEmpty() || m_watcher.files().contains(m_path))) {
        return;
    }
    m_settle.stop();
    const QStringList watched = m_watcher.files() + m_watcher.directories();
    if (!watched.isEmpty()) {
        m_watcher.removePaths(watched);
    }
    m_path = wanted;
    if (m_path.isEmpty()) {
        return;
    }
    // The folder also tells when a file not there at the moment comes (back).
    const QString folder = QFileInfo(m_path).absolutePath();
    if (QFileInfo::exists(folder)) {
        m_watcher.addPath(folder);
    }
    if (QFileInfo::exists(m_path)) {
        m_watcher.addPath(m_path);
    }
}

void DiskWatch::seen()
{
    // A file renamed over ours is a new file: watch it again.
    if (!m_path.isEmpty() && !m_watcher.files().contains(m_path) && QFileInfo::exists(m_path)) {
        m_watcher.addPath(m_path);
    }
    m_settle.start();
}

} // namespace files
