#include "Session.h"

#include "CliError.h"

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
    if (m_store.Modified()) {
        check(m_store.SaveFile(QString(), true, false));
    }
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
