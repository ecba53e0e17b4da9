#pragma once

#include "CommandLine.h"
#include "PasswordInput.h"
#include "PasswordStore.h"

// The store one command works on, with the helpers every command needs.
// Failures are thrown as Failure carrying the store's message.
class Session
{
public:
    explicit Session(const Invocation &invocation) : m_passwords(invocation.passwordStdin) {}

    PasswordStore &store() { return m_store; }
    const PasswordStore &store() const { return m_store; }
    const PasswordSource &passwords() const { return m_passwords; }

    // Opens the file, asking for its password only when it has one.
    void open(const QString &path);
    // The password of another file for import and merge; empty when it has none.
    Secret otherFilePassword(const QString &path) const;
    // Saves under the file's own name, keeping the previous version as .bak.
    // A command that changed nothing leaves the file as it is. What was
    // saved there since the file was read is merged, and told on standard error.
    void saveIfModified();
    // Throws the store's last error when ok is false.
    void check(bool ok) const;

    // Case-insensitive lookups by name; a missing one is a Failure.
    const PasswordEntry &record(const QString &service) const;
    qint16 categoryCode(const QString &name) const;
    qint16 subCategoryCode(qint16 codcat, const QString &name) const;

private:
    PasswordStore m_store;
    PasswordSource m_passwords;
};

QString filePasswordPrompt(const QString &path);
// What a save merged from disk, for standard error; nothing when it merged nothing.
QStringList mergeLines(const DiskMergeResult &result);
