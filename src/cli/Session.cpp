#include "Session.h"

#include "CliError.h"
#include "Output.h"

namespace {

QString quoted(const QString &name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

} // namespace

QString filePasswordPrompt(const QString &path)
{
    return QStringLiteral("Password for %1: ").arg(path);
}

void Session::open(const QString &path)
{
    Secret password;
    if (!m_store.HasNoPassword(path)) {
        password = m_passwords.ask(filePasswordPrompt(path));
    }
    check(m_store.OpenFile(path, password.text()));
}

Secret Session::otherFilePassword(const QString &path) const
{
    if (m_store.HasNoPassword(path)) {
        return Secret();
    }
    return m_passwords.ask(filePasswordPrompt(path));
}

void Session::saveIfModified()
{
    if (!m_store.Modified()) {
        return;
    }
    check(m_store.SaveFile(QString(), true, false));
    // Standard error, so that scripts reading the output see only what they asked for.
    for (const QString &line : mergeLines(m_store.LastDiskMerge())) {
        printError(QStringLiteral("vellumor-cli: ") + line);
    }
}

QStringList mergeLines(const DiskMergeResult &r)
{
    if (!r.merged) {
        return {};
    }
    QStringList lines{QStringLiteral("the file was changed elsewhere since it was read; its "
                                     "changes were merged, not overwritten: %1 added, %2 changed, "
                                     "%3 deleted, %4 kept as both, %5 kept though deleted on one "
                                     "side")
                          .arg(r.added)
                          .arg(r.changed)
                          .arg(r.deleted)
                          .arg(r.conflicts)
                          .arg(r.kept)};
    if (r.categoriesAdded + r.categoriesDeleted + r.subcategoriesAdded + r.subcategoriesDeleted >
        0) {
        lines << QStringLiteral("categories: %1 added, %2 deleted; subcategories: %3 added, %4 "
                                "deleted")
                     .arg(r.categoriesAdded)
                     .arg(r.categoriesDeleted)
                     .arg(r.subcategoriesAdded)
                     .arg(r.subcategoriesDeleted);
    }
    for (const QString &name : r.conflictNames) {
        lines << QStringLiteral("the other version is kept as %1").arg(quoted(name));
    }
    return lines;
}

void Session::check(bool ok) const
{
    if (!ok) {
        throw Failure(m_store.LastError());
    }
}

const PasswordEntry &Session::record(const QString &service) const
{
    const PasswordEntry *e = m_store.Passwords().Item(service);
    if (e == nullptr) {
        throw Failure(
            QStringLiteral("There is no record for the service %1.").arg(quoted(service)));
    }
    return *e;
}

qint16 Session::categoryCode(const QString &name) const
{
    const Category *c = m_store.Categories().Item(name);
    if (c == nullptr) {
        throw Failure(QStringLiteral("There is no category %1.").arg(quoted(name)));
    }
    return c->codcat;
}

qint16 Session::subCategoryCode(qint16 codcat, const QString &name) const
{
    // Subcategories are keyed by their category's code, "!" and their name.
    const SubCategory *s =
        m_store.SubCategories().Item(QString::number(codcat) + QLatin1Char('!') + name);
    if (s == nullptr) {
        throw Failure(QStringLiteral("The category %1 has no subcategory %2.")
                          .arg(quoted(m_store.CategoryName(codcat)), quoted(name)));
    }
    return s->CodSCat;
}
