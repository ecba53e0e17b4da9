#pragma once

// A store with a few records, the services with doubles, and the transfer
// routines working on them.

#include "TestServices.h"
#include "TransferRoutines.h"

struct TransferFixture
{
    TestServices t;
    platform::RecordingClipboard clipboard;
    platform::RecordingShell shell;
    platform::RecordingKeyTyper typer;
    transfer::TransferRoutines routines{t.services, clipboard, shell, typer};

    TransferFixture()
    {
        t.state.Store->NewFile();
        add(QStringLiteral("Bank"), QStringLiteral("alice"), QStringLiteral("s3cret"),
            QStringLiteral("https://bank.example/login"));
        add(QStringLiteral("Empty"), QString(), QString(), QString());
        add(QStringLiteral("Notation"), QStringLiteral("a+b"), QStringLiteral("{x}%~"),
            QStringLiteral("   "));
        add(QStringLiteral("NoUser"), QString(), QStringLiteral("only-pass"),
            QStringLiteral("  mailto:me@example.org "));
        add(QStringLiteral("Broken"), QStringLiteral("anna"), QStringLiteral("x)y"), QString());
    }

    bool add(const QString &service, const QString &user, const QString &password,
             const QString &url)
    {
        PasswordEntry entry;
        entry.service = service;
        entry.UserName = user;
        entry.Password = password;
        entry.URL = url;
        return t.state.Store->AddPassword(entry);
    }
};
