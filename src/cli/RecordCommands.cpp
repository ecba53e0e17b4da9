// The commands that work on one record.
#include "CliError.h"
#include "Commands.h"
#include "Output.h"
#include "Session.h"

#include <limits>

namespace {

const QLatin1String CategoryOption("--category");
const QLatin1String SubCategoryOption("--subcategory");

// "never" switches a date off; anything else must be a date.
void applyDate(const Invocation &inv, QLatin1String option, bool &active, QDate &date)
{
    if (const auto text = inv.value(option)) {
        if (*text == QLatin1String("never")) {
            active = false;
            date = QDate();
        } else {
            active = true;
            date = parseDate(option, *text);
        }
    }
}

// "off" switches a notice off; anything else is a number of days.
void applyNotice(const Invocation &inv, QLatin1String option, bool &active, qint16 &days)
{
    if (const auto text = inv.value(option)) {
        if (*text == QLatin1String("off")) {
            active = false;
            days = 0;
        } else {
            active = true;
            days =
                static_cast<qint16>(parseNumber(option, *text, std::numeric_limits<qint16>::max()));
        }
    }
}

// The category and subcategory named on the command line, as codes;
// "--category ''" means no category. A subcategory needs its category.
void applyPlace(const Session &session, const Invocation &inv, qint16 &codcat, qint16 &CodSCat)
{
    const auto category = inv.value(CategoryOption);
    const auto subcategory = inv.value(SubCategoryOption);
    if (subcategory && !category) {
        throw UsageError(QStringLiteral("%1 needs %2").arg(SubCategoryOption, CategoryOption));
    }
    if (!category) {
        return;
    }
    codcat = category->isEmpty() ? qint16(0) : session.categoryCode(*category);
    CodSCat = 0;
    if (subcategory && !subcategory->isEmpty()) {
        if (codcat == 0) {
            throw UsageError(QStringLiteral("a subcategory needs a category"));
        }
        CodSCat = session.subCategoryCode(codcat, *subcategory);
    }
}

// Every field option of add and edit; fields not named stay as they are.
void applyFields(const Session &session, const Invocation &inv, PasswordEntry &e)
{
    const auto text = [&inv](const char *option, QString &field) {
        if (const auto value = inv.value(QLatin1String(option))) {
            field = *value;
        }
    };
    text("-u", e.UserName);
    text("--url", e.URL);
    text("--change-url", e.ChangeURL);
    text("--exp-url", e.ExpURL);
    text("--notes", e.Notes);
    applyPlace(session, inv, e.codcat, e.CodSCat);
    applyDate(inv, QLatin1String("--expires"), e.blExpire, e.Dt_Expire);
    applyNotice(inv, QLatin1String("--notify-expire"), e.blNotExpire, e.ggNotExpire);
    applyDate(inv, QLatin1String("--change"), e.blChange, e.Dt_Change);
    applyNotice(inv, QLatin1String("--notify-change"), e.blNotChange, e.ggNotChange);
    if (auto generated = generatedPassword(inv)) {
        e.Password = std::move(*generated);
    } else if (inv.has(QLatin1String("-p"))) {
        Secret password = session.passwords().askNew(
            QStringLiteral("Password for the service %1: ").arg(e.service),
            QStringLiteral("Repeat the password: "));
        e.Password = password.text();
    }
}

} // namespace

int runShow(const Invocation &inv)
{
    Session session(inv);
    session.open(inv.args.at(0));
    const PasswordEntry &e = session.record(inv.args.at(1));
    printLines(recordLines(session.store(), e, inv.has(QLatin1String("--show-password"))));
    return 0;
}

int runAdd(const Invocation &inv)
{
    Session session(inv);
    session.open(inv.args.at(0));
    PasswordEntry e;
    e.service = inv.args.at(1);
    applyFields(session, inv, e);
    e.Dt_Insert = QDateTime::currentDateTimeUtc();
    e.Dt_Modify = e.Dt_Insert;
    session.check(session.store().AddPassword(e));
    session.saveIfModified();
    return 0;
}

int runEdit(const Invocation &inv)
{
    Session session(inv);
    session.open(inv.args.at(0));
    const PasswordEntry &old = session.record(inv.args.at(1));
    const QString oldService = old.service;
    PasswordEntry e = old;
    if (const auto name = inv.value(QLatin1String("--rename"))) {
        e.service = *name;
    }
    applyFields(session, inv, e);
    if (e == old) {
        return 0; // nothing given that differs: the file stays untouched
    }
    e.Dt_Modify = QDateTime::currentDateTimeUtc();
    session.check(session.store().UpdatePassword(e, oldService, old.codcat, old.CodSCat));
    session.saveIfModified();
    return 0;
}

int runRm(const Invocation &inv)
{
    Session session(inv);
    session.open(inv.args.at(0));
    const QString service = session.record(inv.args.at(1)).service;
    session.check(session.store().DeletePassword(service));
    session.saveIfModified();
    return 0;
}

int runMv(const Invocation &inv)
{
    Session session(inv);
    session.open(inv.args.at(0));
    const PasswordEntry &e = session.record(inv.args.at(1));
    const QString service = e.service;
    // Without --category the record goes to no category.
    qint16 codcat = 0;
    qint16 CodSCat = 0;
    applyPlace(session, inv, codcat, CodSCat);
    if (codcat == e.codcat && CodSCat == e.CodSCat) {
        return 0;
    }
    session.check(session.store().MovePassword(service, codcat, CodSCat));
    session.saveIfModified();
    return 0;
}
