#pragma once

// Everything a main window runs its commands with, over the test services:
// file routines answered by scripts, and a clipboard, desktop and typer that
// only note what they were given.

#include "FileRoutines.h"
#include "ShowWindows.h"
#include "TestServices.h"
#include "TransferRoutines.h"

struct TestRoutines
{
    TestServices t;
    ScriptedPasswords passwords;
    files::FileRoutines files{t.services, passwords, t.openDialog};
    platform::RecordingClipboard clipboard;
    platform::RecordingShell shell;
    platform::RecordingKeyTyper typer;
    transfer::TransferRoutines transfers{t.services, clipboard, shell, typer};
    ShowWindows windows{t.services, transfers, QStringLiteral("vellumor")};
    WindowRoutines routines{files, transfers, windows};
};
