#pragma once

// The services of the program with test doubles in place: scripted prompts
// and file dialogs, a fixed clock, and a main window that notes its calls.

#include "FileRoutines.h"
#include "KdfParams.h"
#include "PasswordStore.h"
#include "Services.h"

#include <QStringList>

// Answers the New/Open dialog with a queued result, noting each request.
class ScriptedOpenDialog final : public files::OpenDialogHost
{
public:
    files::OpenDialogResult showOpenDialog(const files::OpenDialogRequest &request,
                                           QWidget * /*owner*/) override
    {
        requests << request;
        return answers.isEmpty() ? files::OpenDialogResult{} : answers.takeFirst();
    }
    QList<files::OpenDialogRequest> requests;
    QList<files::OpenDialogResult> answers;
};

struct TestServices
{
    app::RunState state;
    app::WindowStack windows{state};
    ProgramOptions options;
    RecentFiles recent;
    Settings settings;
    platform::ScriptedPrompt prompt;
    platform::ScriptedFileDialogs dialogs;
    platform::FixedClock clock{QDateTime(QDate(2026, 12, 7), QTime(12, 0))};
    app::Services services{state, windows, options, recent, settings, prompt, dialogs, clock};
    ScriptedOpenDialog openDialog;

    TestServices() { state.Store = std::make_unique<PasswordStore>(); }
};

// Answers the file-password question from a list, noting each path asked for.
class ScriptedPasswords final : public files::FilePasswordAsker
{
public:
    QString askFilePassword(const QString &path) override
    {
        askedFor << path;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    QStringList answers;
    QStringList askedFor;
};

// A main window that only notes which operations were called.
class RecordingWindow final : public app::MainWindowOps
{
public:
    void UpdateView(qint32 value) override { calls << QStringLiteral("UpdateView(%1)").arg(value); }
    void ReloadMenu() override { calls << QStringLiteral("ReloadMenu"); }
    void ReInitMenu() override { calls << QStringLiteral("ReInitMenu"); }
    void GotoSysTray() override { calls << QStringLiteral("GotoSysTray"); }
    void SetMenuEnabled(bool enabled) override
    {
        calls << QStringLiteral("SetMenuEnabled(%1)").arg(enabled);
    }
    QWidget *window() override { return nullptr; }
    QStringList calls;
};

// A main window with a real widget, so the window stack has something to
// disable, noting the operations called on it.
struct WidgetMainWindow final : app::MainWindowOps
{
    QWidget widget;
    QStringList calls;
    void UpdateView(qint32 value) override { calls << QStringLiteral("UpdateView(%1)").arg(value); }
    void ReloadMenu() override { calls << QStringLiteral("ReloadMenu"); }
    void ReInitMenu() override { calls << QStringLiteral("ReInitMenu"); }
    void GotoSysTray() override { calls << QStringLiteral("GotoSysTray"); }
    void SetMenuEnabled(bool) override {}
    QWidget *window() override { return &widget; }
    void ShowStatusNote(const QString &note) override { calls << QStringLiteral("Note: ") + note; }
    std::pair<QString, int> ViewPosition() const override { return {QStringLiteral("node"), 2}; }
    void RestoreViewPosition(const QString &node, int row) override
    {
        calls << QStringLiteral("Restore(%1,%2)").arg(node).arg(row);
    }
};

// Writes a password file with the cheapest key derivation; "" for none.
inline bool writeFile(const QString &path, const QString &password,
                      const QStringList &services = {})
{
    PasswordStore store;
    store.SetKdfParams(KdfParams::Minimum());
    store.NewFile();
    for (const QString &service : services) {
        PasswordEntry entry;
        entry.service = service;
        entry.Password = service + QStringLiteral("-secret");
        if (!store.AddPassword(entry)) {
            return false;
        }
    }
    store.SetPassword(password);
    return store.SaveFile(path, false, false);
}

// The services stored in a file without password, in the store's order.
inline QStringList servicesIn(const QString &path)
{
    PasswordStore store;
    if (!store.OpenFile(path, QString())) {
        return {QStringLiteral("<unreadable>")};
    }
    QStringList names;
    for (const PasswordEntry &entry : store.Passwords()) {
        names << entry.service;
    }
    return names;
}
