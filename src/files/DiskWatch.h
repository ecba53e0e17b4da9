#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

namespace files {

// Tells when the open file may have changed on disk. Sync tools replace a
// file (a temporary renamed over it), which ends a watch on the file itself,
// so its folder is watched too; a burst of events is told once, after the
// writer has been quiet for a moment. Whether the content really changed is
// for the store to say: the folder's other files raise the signal as well.
class DiskWatch : public QObject
{
    Q_OBJECT

public:
    explicit DiskWatch(int settleMs = 700, QObject *parent = nullptr);

    // "" (or a file never saved) watches nothing.
    void watch(const QString &path);
    QString path() const { return m_path; }
    void setSettleTime(int ms) { m_settle.setInterval(ms); }
    // Tells again after the settling time: the news could not be taken now.
    void later() { m_settle.start(); }

Q_SIGNALS:
    void changed();

private:
    void seen();

    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_path;
};

} // namespace files
