#include "RecentFiles.h"

#include "Settings.h"

namespace {

constexpr Qt::CaseSensitivity pathCase =
#ifdef Q_OS_WIN
    Qt::CaseInsensitive;
#else
    Qt::CaseSensitive;
#endif

const QString emptyEntry = QStringLiteral("<Empty>");

QString entryName(qsizetype position)
{
    return QStringLiteral("File-") + QString::number(position);
}

} // namespace

qsizetype RecentFiles::indexOf(const QString &path) const
{
    for (qsizetype i = 0; i < m_paths.size(); ++i) {
        if (m_paths.at(i).compare(path, pathCase) == 0) {
            return i;
        }
    }
    return -1;
}

bool RecentFiles::add(const QString &path)
{
    if (contains(path)) {
        return false;
    }
    m_paths.append(path);
    return true;
}

void RecentFiles::remove(const QString &path)
{
    const qsizetype at = indexOf(path);
    if (at >= 0) {
        m_paths.removeAt(at);
    }
}

void RecentFiles::noteOpened(const QString &path, qint16 historySize)
{
    remove(path);
    // Trimmed with >= rather than only at exactly the limit, so a history size
    // lowered in the options shortens the list at the next open.
    const qsizetype limit = historySize < 1 ? 1 : historySize;
    while (m_paths.size() >= limit) {
        m_paths.removeLast();
    }
    m_paths.prepend(path);
}

void LoadRecentFiles(const SettingsComponent &optionSettings, qint16 historySize, RecentFiles &list,
                     QString &filePath)
{
    list = RecentFiles();
    for (qsizetype n = 1; n <= historySize; ++n) {
        const QString path = optionSettings.GetString(entryName(n), emptyEntry);
        if (path == emptyEntry) {
            break;
        }
        list.add(path);
    }
    filePath = optionSettings.GetString(QStringLiteral("Filename"), QString());
}

void SaveRecentFiles(Settings &settings, const QString &pathOption, const RecentFiles &list,
                     qint16 historySize, const QString &openFileName)
{
    SettingsComponent &s = settings.OpenOptionSettings();
    s.SaveString(QStringLiteral("Path"), pathOption);
    s.SaveInteger(QStringLiteral("NumFiles"),
                  static_cast<qint16>(qMin<qsizetype>(list.count(), 32767)));
    for (qsizetype n = 1; n <= list.count() && n <= historySize; ++n) {
        s.SaveString(entryName(n), list.item(n));
    }
    s.SaveString(QStringLiteral("FileName"), openFileName);
    settings.ReleaseOptionSettings();
}
