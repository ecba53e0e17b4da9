// The commands that change categories and subcategories.
#include "CliError.h"
#include "Commands.h"
#include "Session.h"

namespace {

// The action word and the names after it: NAME, and NEW or TARGET when the
// action needs a second name.
struct TreeAction
{
    QString verb;
    QString name;
    QString second;
};

TreeAction treeAction(const Invocation &inv, qsizetype first, const QStringList &twoNameVerbs,
                      const QStringList &verbs)
{
    TreeAction action{inv.args.at(first), inv.args.at(first + 1), QString()};
    if (!verbs.contains(action.verb)) {
        throw UsageError(QStringLiteral("unknown action '%1'").arg(action.verb));
    }
    const bool needsSecond = twoNameVerbs.contains(action.verb);
    const bool hasSecond = inv.args.size() > first + 2;
    if (needsSecond != hasSecond) {
        throw UsageError(needsSecond ? QStringLiteral("%1 needs a second name").arg(action.verb)
                                     : QStringLiteral("%1 takes one name").arg(action.verb));
    }
    if (hasSecond) {
        action.second = inv.args.at(first + 2);
    }
    if (inv.has(QLatin1String("--keep")) && action.verb != QLatin1String("rm")) {
        throw UsageError(QStringLiteral("--keep belongs to rm"));
    }
    return action;
}

} // namespace

int runCategory(const Invocation &inv)
{
    const TreeAction action =
        treeAction(inv, 1, {QStringLiteral("rename")},
                   {QStringLiteral("add"), QStringLiteral("rm"), QStringLiteral("rename")});
    Session session(inv);
    session.open(inv.args.at(0));
    PasswordStore &store = session.store();
    if (action.verb == QLatin1String("add")) {
        session.check(store.AddCategory(action.name));
    } else if (action.verb == QLatin1String("rm")) {
        const QString name = store.CategoryName(session.categoryCode(action.name));
        session.check(store.DeleteCategory(name, inv.has(QLatin1String("--keep"))));
    } else {
        const QString name = store.CategoryName(session.categoryCode(action.name));
        session.check(store.RenameCategory(name, action.second));
    }
    session.saveIfModified();
    return 0;
}

int runSubcategory(const Invocation &inv)
{
    const TreeAction action = treeAction(inv, 2, {QStringLiteral("rename"), QStringLiteral("move")},
                                         {QStringLiteral("add"), QStringLiteral("rm"),
                                          QStringLiteral("rename"), QStringLiteral("move")});
    Session session(inv);
    session.open(inv.args.at(0));
    PasswordStore &store = session.store();
    const qint16 codcat = session.categoryCode(inv.args.at(1));
    if (action.verb == QLatin1String("add")) {
        session.check(store.AddSubCategory(codcat, action.name));
        session.saveIfModified();
        return 0;
    }
    const QString name = store.SubCategoryName(session.subCategoryCode(codcat, action.name));
    if (action.verb == QLatin1String("rm")) {
        session.check(store.DeleteSubCategory(codcat, name, inv.has(QLatin1String("--keep"))));
    } else if (action.verb == QLatin1String("rename")) {
        session.check(store.RenameSubCategory(codcat, name, action.second));
    } else {
        session.check(store.MoveSubCategory(name, codcat, session.categoryCode(action.second)));
    }
    session.saveIfModified();
    return 0;
}
