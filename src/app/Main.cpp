#include "Main.h"

#include "FileLock.h"
#include "FileRoutines.h"
#include "frmFilePW.h"
#include "frmLoadSave.h"
#include "frmMain.h"
#include "frmTray.h"
#include "InstanceChannel.h"
#include "LoadOptions.h"
#include "MainLoop.h"
#include "PasswordStore.h"
#include "Services.h"
#include "SessionLock.h"
#include "ShowWindows.h"
#include "StartUp.h"
#include "TransferRoutines.h"

#include <QCoreApplication>
#include <QVersionNumber>

namespace app {

namespace {

QVersionNumber programVersion()
{
    return QVersionNumber::fromString(QCoreApplication::applicationVersion());
}

} // namespace

int Main(const QString &commandLine)
{
    platform::InstanceChannel channel;
    if (!channel.IsFirstInstance()) {
        // Nobody answering is fine: the other instance may be ending.
        platform::InstanceChannel::SendToRunningInstance(instancePayload(commandLine));
        return 0;
    }

    RunState state;
    state.AppTitle = buildAppTitle(programVersion());

    Settings settings;
    ProgramOptions options;
    RecentFiles recent;
    const LanguageRegistry languages;
    Language language(languages);
    platform::MessageBoxPrompt prompt(ProductName);
    if (!LoadOptions(settings, options, language, prompt, QCoreApplication::applicationDirPath(),
                     recent, state.FilePath)) {
        channel.ReleaseInstanceLock();
        return 1;
    }

    state.Store = std::make_unique<PasswordStore>();
    state.FirstStart = true;
    WindowStack windows(state);
    platform::QtFileDialogs fileDialogs;
    const platform::Clock clock;
    const Services services{state, windows, options, recent, settings, prompt, fileDialogs, clock};
    DialogPasswordAsker passwords(services);
    files::LoadSaveDialogHost openDialog(services);
    files::FileRoutines files(services, passwords, openDialog);
    // Ends with Main, before the application object: a password still on the
    // clipboard is taken off while the toolkit can still tell the desktop.
    platform::SystemClipboard clipboard(
        [&options] { return std::chrono::seconds(options.ClipboardClearSeconds); });
    platform::DesktopShell shell;
    const std::unique_ptr<platform::KeyTyper> typer = platform::makeSystemKeyTyper();
    const transfer::TransferRoutines transfers(services, clipboard, shell, *typer);
    const ShowWindows openers(services, transfers, QCoreApplication::applicationFilePath());
    files.setExpirationCheck([&openers] { openers.ShowCheckExpire(); });
    const std::unique_ptr<platform::SessionLockSource> session = platform::makeDesktopSessionLock();
    files::FileLock lock(services, passwords, session.get());
    lock.watchInput();

    if (!options.AutoLoadData) {
        state.FilePath = StripQuotes(commandLine);
    }
    if (!state.FilePath.isEmpty()) {
        if (state.FilePath == PasswordStore::NewFileName) {
            state.FilePath.clear();
        } else {
            files.OpenPasswordFile(state.FilePath);
            windows.waitUntilEmpty();
        }
    }
    state.TrayMode = options.StartupType >= 2;

    // Only a window whose load has run takes a hand-over; before that (or
    // between two windows) a later start's message is dropped, as if no
    // instance had been found.
    QObject::connect(&channel, &platform::InstanceChannel::payloadReceived, &state,
                     [&state](const QByteArray &payload) {
                         MainWindowOps *window = state.CurrentMainWindow();
                         if (window != nullptr && window->IsInstanceWindow()) {
                             window->HandOver(payload);
                         }
                     });

    {
        const WindowRoutines routines{files, transfers, openers, &lock};
        MainLoop loop(state, [&](bool tray) -> std::unique_ptr<MainWindowOps> {
            if (tray) {
                return std::make_unique<frmTray>(services, routines);
            }
            return std::make_unique<frmMain>(services, routines);
        });
        loop.run();
    }

    // The recent list goes out while the settings objects still exist.
    // A locked file is still the one that was open.
    SaveRecentFiles(settings, options.Path, recent, options.HistorySize,
                    state.Locked() ? state.LockedFile : state.Store->FileName());
    channel.ReleaseInstanceLock();
    settings.ReleaseOptionSettings();
    settings.ReleaseLayoutSettings();
    state.Store.reset();
    return 0;
}

} // namespace app
