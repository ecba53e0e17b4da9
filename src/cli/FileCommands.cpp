// The commands that work on a file as a whole.
#include "CliError.h"
#include "Commands.h"
#include "Expiration.h"
#include "Output.h"
#include "Session.h"

#include <algorithm>
#include <array>
#include <QFileInfo>

namespace {

const QLatin1String KdfOps("--kdf-ops");
const QLatin1String KdfMem("--kdf-mem");

KdfParams kdfFrom(const Invocation &inv)
{
    KdfParams params = KdfParams::Moderate();
    if (const auto ops = inv.value(KdfOps)) {
        params.opsLimit = static_cast<quint32>(parseNumber(KdfOps, *ops, KdfParams::MaxOps));
    }
    if (const auto mem = inv.value(KdfMem)) {
        params.memLimitKiB =
            static_cast<quint32>(parseNumber(KdfMem, *mem, KdfParams::MaxMemKiB / 1024) * 1024);
    }
    if (!params.isValid()) {
        throw UsageError(QStringLiteral("%1 and %2 must be at least 1").arg(KdfOps, KdfMem));
    }
    return params;
}

} // namespace

int runCreate(const Invocation &inv)
{
    const QString &path = inv.args.at(0);
    const bool noPassword = inv.has(QLatin1String("--no-password"));
    if (noPassword && (inv.has(KdfOps) || inv.has(KdfMem))) {
        throw UsageError(QStringLiteral("a file without password has no key derivation cost"));
    }
    const KdfParams kdf = kdfFrom(inv);
    // Never overwrite: a typo in FILE must not cost the user a password file.
    if (QFileInfo::exists(path)) {
        throw Failure(QStringLiteral("The file %1 already exists.").arg(path));
    }
    Session session(inv);
    Secret password;
    if (!noPassword) {
        password = session.passwords().askNew(QStringLiteral("New password for %1: ").arg(path),
                                              QStringLiteral("Repeat the password: "));
        if (password.isEmpty()) {
            throw Failure(QStringLiteral("The password is empty; create the file with "
                                         "--no-password to leave it unprotected."));
        }
    }
    PasswordStore &store = session.store();
    session.check(store.NewFile());
    store.SetKdfParams(kdf);
    store.SetPassword(password.text());
    session.check(store.SaveFile(path, false, false));
    return 0;
}

int runLs(const Invocation &inv)
{
    Session session(inv);
    session.open(inv.args.at(0));
    if (inv.has(QLatin1String("--tree"))) {
        printLines(treeLines(session.store()));
        return 0;
    }
    for (const PasswordEntry &e : session.store().Passwords()) {
        printLine(oneLine(e.service));
    }
    return 0;
}

int runSearch(const Invocation &inv)
{
    Session session(inv);
    session.open(inv.args.at(0));
    const QString &text = inv.args.at(1);
    for (const PasswordEntry &e : session.store().Passwords()) {
        const std::array<const QString *, 4> fields{&e.service, &e.UserName, &e.URL, &e.Notes};
        const bool found = std::any_of(fields.cbegin(), fields.cend(), [&text](const QString *f) {
            return f->contains(text, Qt::CaseInsensitive);
        });
        if (found) {
            printLine(oneLine(e.service));
        }
    }
    return 0;
}

int runCheck(const Invocation &inv)
{
    Session session(inv);
    session.open(inv.args.at(0));
    printLines(dueLines(DueList(session.store(), QDate::currentDate())));
    return 0;
}

int runPasswd(const Invocation &inv)
{
    Session session(inv);
    session.open(inv.args.at(0));
    const Secret password =
        session.passwords().askNew(QStringLiteral("New password (empty removes it): "),
                                   QStringLiteral("Repeat the new password: "));
    session.store().SetPassword(password.text());
    session.saveIfModified();
    return 0;
}

int runMerge(const Invocation &inv)
{
    Session session(inv);
    session.open(inv.args.at(0));
    const QString &other = inv.args.at(1);
    const Secret password = session.otherFilePassword(other);
    MergeResult result;
    session.check(session.store().MergeFile(other, password.text(), result));
    session.saveIfModified();
    printLine(QStringLiteral("%1 added, %2 renamed, %3 skipped")
                  .arg(result.added)
                  .arg(result.renamed)
                  .arg(result.skipped));
    return 0;
}
