#include "Expiration.h"

#include "PasswordStore.h"

#include <QLocale>

namespace {

void addPart(std::vector<DueItem> &out, const PasswordEntry &e, DueItem::Part part,
             const QDate &today)
{
    const bool expiration = part == DueItem::Part::Expiration;
    const bool active = expiration ? e.blExpire : e.blChange;
    const QDate date = expiration ? e.Dt_Expire : e.Dt_Change;
    if (!active || !date.isValid()) {
        return;
    }
    const bool notify = expiration ? e.blNotExpire : e.blNotChange;
    const int notice = expiration ? e.ggNotExpire : e.ggNotChange;
    const qint64 days = today.daysTo(date);
    QString message;
    if (days <= 0) {
        message = (expiration ? QStringLiteral("Expired from ") : QStringLiteral("Changed from ")) +
                  QLocale::system().toString(date, QLocale::ShortFormat);
    } else if (notify && days <= notice) {
        message = QString::number(days) + (expiration ? QStringLiteral(" days to expiration")
                                                      : QStringLiteral(" days to changing"));
    } else {
        return;
    }
    out.push_back(DueItem{e.service, part, date, days, message});
}

} // namespace

std::vector<DueItem> DueList(const PasswordStore &store, const QDate &today)
{
    std::vector<DueItem> out;
    for (const PasswordEntry &e : store.Passwords()) {
        addPart(out, e, DueItem::Part::Expiration, today);
        addPart(out, e, DueItem::Part::Change, today);
    }
    return out;
}
