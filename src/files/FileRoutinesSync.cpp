// The file routines' half that follows the open file on disk: reloads and
// three-way merges when a sync tool (or another Vellumor) changed it, and
// the conflict copies sync tools leave beside it.

#include "FileRoutines.h"
#include "PasswordStore.h"
#include "SecureBytes.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

using platform::PromptAnswer;
using platform::PromptButtons;
using platform::PromptIcon;

namespace files {

namespace {

const QString Title = QStringLiteral("VLM");

// What a three-way merge brought in, one line per kind of news.
QString describe(const DiskMergeResult &r)
{
    QStringList lines;
    const QList<std::pair<int, const char *>> counts{
        {r.added, "Records added elsewhere, added here"},
        {r.changed, "Records changed elsewhere, taken from there"},
        {r.deleted, "Records deleted elsewhere, deleted here"},
        {r.kept, "Records deleted on one side and changed on the other, kept"},
        {r.categoriesAdded, "Categories added"},
        {r.categoriesDeleted, "Categories deleted"},
        {r.subcategoriesAdded, "Subcategories added"},
        {r.subcategoriesDeleted, "Subcategories deleted"}};
    for (const auto &[n, what] : counts) {
        if (n > 0) {
            lines << QStringLiteral("%1: %2").arg(QLatin1String(what)).arg(n);
        }
    }
    if (r.conflicts > 0) {
        lines << QStringLiteral("Records changed on both sides, both kept: %1 (the other "
                                "version as %2)")
                     .arg(r.conflicts)
                     .arg(r.conflictNames.join(QStringLiteral(", ")));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

void FileRoutines::followFile()
{
    const QString name = m_services.state.Store->FileName();
    m_watch.watch(name == PasswordStore::NewFileName ? QString() : name);
}

void FileRoutines::tellDiskMerge(const DiskMergeResult &merged, const QString &after)
{
    PasswordStore &store = *m_services.state.Store;
    const QString file = QFileInfo(store.FileName()).fileName();
    if (app::MainWindowOps *window = m_services.state.CurrentMainWindow()) {
        window->ShowStatusNote(file + QStringLiteral(": changes made elsewhere were merged."));
    }
    m_services.prompt.ask(
        QStringLiteral("%1 was changed elsewhere (another computer, or another program) while "
                       "it had changes here. Both were merged:\n\n%2\n\n%3")
            .arg(file, describe(merged), after),
        PromptButtons::Ok, PromptIcon::Information, Title);
}

void FileRoutines::TakeChangesOnDisk()
{
    app::RunState &state = m_services.state;
    PasswordStore &store = *state.Store;
    app::MainWindowOps *window = state.CurrentMainWindow();
    if (state.Locked()) {
        return; // unlocking reads the file as it is then
    }
    followFile();
    // Not under an open dialog, which may hold a record of the old version.
    if (!m_services.windows.isEmpty() || QApplication::activeModalWidget() != nullptr ||
        QApplication::activePopupWidget() != nullptr) {
        m_watch.later();
        return;
    }
    const QString file = QFileInfo(store.FileName()).fileName();
    const auto note = [window](const QString &text) {
        if (window != nullptr) {
            window->ShowStatusNote(text);
        }
    };
    switch (store.CheckDisk()) {
    case DiskState::Unchanged:
    case DiskState::NotOnDisk:
        return;
    case DiskState::Missing:
    case DiskState::Unreadable:
        note(file + QStringLiteral(" is not on disk at the moment: Save writes it again."));
        return;
    case DiskState::Changed:
        break;
    }
    const bool merge = store.Modified();
    const auto position = window != nullptr ? window->ViewPosition() : std::pair<QString, int>();
    DiskMergeResult merged;
    DiskReadStatus status = merge ? store.MergeChangesOnDisk(merged) : store.ReloadFile();
    if (status == DiskReadStatus::PasswordChanged) {
        QString password = m_passwords.askFilePassword(store.FileName());
        if (password.isEmpty()) {
            note(file + QStringLiteral(" was changed elsewhere under another password and was "
                                       "not read again."));
            return;
        }
        status = merge ? store.MergeChangesOnDisk(password, merged) : store.ReloadFile(password);
        wipeText(password);
    }
    if (status != DiskReadStatus::Ok) {
        note(file + QStringLiteral(" was changed elsewhere and could not be read again: ") +
             store.LastError());
        return;
    }
    if (window != nullptr) {
        window->UpdateViewAt(position.first, position.second);
    }
    if (merge) {
        tellDiskMerge(merged, QStringLiteral("The result is not saved yet."));
    } else {
        note(file + QStringLiteral(" was changed elsewhere and has been read again."));
    }
}

bool FileRoutines::takeChangesUnderNewPassword(DiskMergeResult &merged)
{
    PasswordStore &store = *m_services.state.Store;
    if (store.MergeChangesOnDisk(merged) != DiskReadStatus::PasswordChanged) {
        return false;
    }
    QString password = m_passwords.askFilePassword(store.FileName());
    const bool taken =
        !password.isEmpty() && store.MergeChangesOnDisk(password, merged) == DiskReadStatus::Ok;
    wipeText(password);
    return taken;
}

void FileRoutines::offerConflictCopies(const QString &path, const QString &password)
{
    const QStringList copies = PasswordStore::ConflictCopies(path);
    if (copies.isEmpty()) {
        return;
    }
    QStringList names;
    for (const QString &copy : copies) {
        names << QFileInfo(copy).fileName();
    }
    if (m_services.prompt.ask(
            QStringLiteral("A sync tool left conflicting copies of %1 beside it:\n\n%2\n\nMerge "
                           "them into the open file now? Each copy merged is renamed to end in "
                           "\".merged\", so it is not offered again; nothing is deleted.")
                .arg(QFileInfo(path).fileName(), names.join(QLatin1Char('\n'))),
            PromptButtons::YesNo, PromptIcon::Question, Title) != PromptAnswer::Yes) {
        return;
    }
    PasswordStore &store = *m_services.state.Store;
    MergeResult total;
    QStringList failed;
    for (const QString &copy : copies) {
        MergeResult one;
        // A copy of the same file most likely has the same password.
        bool merged = store.MergeFile(copy, store.HasNoPassword(copy) ? QString() : password, one);
        if (!merged && !store.HasNoPassword(copy)) {
            QString other = m_passwords.askFilePassword(copy);
            merged = !other.isEmpty() && store.MergeFile(copy, other, one);
            wipeText(other);
        }
        if (!merged) {
            failed << QFileInfo(copy).fileName() + QStringLiteral(": ") + store.LastError();
            continue;
        }
        total.added += one.added;
        total.renamed += one.renamed;
        total.skipped += one.skipped;
        if (!QFile::rename(copy, copy + QStringLiteral(".merged"))) {
            failed << QFileInfo(copy).fileName() +
                          QStringLiteral(": merged, but it could not be renamed");
        }
    }
    updateView();
    QString text = QStringLiteral("%1 record(s) added, %2 added under a new name because they "
                                  "differ from the record of the same name, %3 already here.")
                       .arg(total.added)
                       .arg(total.renamed)
                       .arg(total.skipped);
    if (!failed.isEmpty()) {
        text += QStringLiteral("\n\nTake care of:\n") + failed.join(QLatin1Char('\n'));
    }
    if (total.added + total.renamed > 0) {
        text += QStringLiteral("\n\nSave the file to keep the result.");
    }
    m_services.prompt.ask(text, PromptButtons::Ok, PromptIcon::Information, Title);
}

} // namespace files
