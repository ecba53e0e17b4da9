#pragma once

#include <QString>
#include <QStringList>

class Settings;
class SettingsComponent;

// The recently opened password files, newest first, each path at most once.
// Paths compare as the platform's file system does: exactly on Linux,
// ignoring case on Windows.
class RecentFiles
{
public:
    qsizetype count() const { return m_paths.size(); }
    bool isEmpty() const { return m_paths.isEmpty(); }
    // 1-based, as the Reload menu numbers them.
    QString item(qsizetype position) const { return m_paths.value(position - 1); }
    const QStringList &paths() const { return m_paths; }
    bool contains(const QString &path) const { return indexOf(path) >= 0; }

    // Adds at the end; false (and nothing added) for a path already listed.
    bool add(const QString &path);
    void remove(const QString &path);

    // After a successful open: the path moves to the front, and the list is
    // cut so that it never holds more than historySize paths (at least one).
    void noteOpened(const QString &path, qint16 historySize);

private:
    qsizetype indexOf(const QString &path) const;
    QStringList m_paths;
};

// Reads "File-1", "File-2", ... from the open option settings up to the first
// missing one or historySize entries, and the last open file ("Filename")
// into filePath.
void LoadRecentFiles(const SettingsComponent &optionSettings, qint16 historySize, RecentFiles &list,
                     QString &filePath);

// At exit: the "Path" option, the list (at most historySize entries) and the
// file open now, which the next start may reopen.
void SaveRecentFiles(Settings &settings, const QString &pathOption, const RecentFiles &list,
                     qint16 historySize, const QString &openFileName);
