#include "Output.h"

#include <cstdio>
#include <QHash>

namespace {

void writeUtf8(std::FILE *stream, const QString &line)
{
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

QString field(const char *name, const QString &value)
{
    return QLatin1String(name) + QLatin1String(": ") + oneLine(value);
}

QString dateOrNever(bool active, const QDate &date)
{
    return active && date.isValid() ? date.toString(Qt::ISODate) : QStringLiteral("never");
}

QString noticeOrOff(bool active, qint16 days)
{
    return active ? QStringLiteral("%1 days").arg(days) : QStringLiteral("off");
}

QString stamp(const QDateTime &time)
{
    return time.isValid() ? time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                          : QString();
}

QString group(int depth, const QString &name, int count)
{
    return QString(qsizetype{depth} * 2, QLatin1Char(' ')) + oneLine(name) +
           QStringLiteral(" (%1)").arg(count);
}

quint32 placeKey(qint16 codcat, qint16 CodSCat)
{
    return (quint32(quint16(codcat)) << 16) | quint16(CodSCat);
}

} // namespace

void printLine(const QString &line)
{
    writeUtf8(stdout, line);
}

void printLines(const QStringList &lines)
{
    for (const QString &line : lines) {
        writeUtf8(stdout, line);
    }
}

void printError(const QString &line)
{
    writeUtf8(stderr, line);
}

bool flushOutput()
{
    return std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
}

QString oneLine(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\\')) {
            out += QLatin1String("\\\\");
        } else if (c == QLatin1Char('\n')) {
            out += QLatin1String("\\n");
        } else if (c == QLatin1Char('\r')) {
            out += QLatin1String("\\r");
        } else {
            out += c;
        }
    }
    return out;
}

QStringList recordLines(const PasswordStore &store, const PasswordEntry &e, bool showPassword)
{
    // An empty password is shown as empty: that it has none is no secret.
    const QString password =
        showPassword || e.Password.isEmpty() ? e.Password : QStringLiteral("********");
    return {
        field("Service", e.service),
        field("Category", store.CategoryName(e.codcat)),
        field("Subcategory", store.SubCategoryName(e.CodSCat)),
        field("User name", e.UserName),
        field("Password", password),
        field("URL", e.URL),
        field("Change URL", e.ChangeURL),
        field("Expiration URL", e.ExpURL),
        field("Notes", e.Notes),
        field("Created", stamp(e.Dt_Insert)),
        field("Modified", stamp(e.Dt_Modify)),
        field("Expires", dateOrNever(e.blExpire, e.Dt_Expire)),
        field("Expiration notice", noticeOrOff(e.blNotExpire, e.ggNotExpire)),
        field("Change by", dateOrNever(e.blChange, e.Dt_Change)),
        field("Change notice", noticeOrOff(e.blNotChange, e.ggNotChange)),
    };
}

QStringList treeLines(const PasswordStore &store)
{
    // One pass over the records, each placed under its (category, subcategory);
    // the lists keep the collection order.
    QHash<quint32, QStringList> services;
    for (const PasswordEntry &e : store.Passwords()) {
        services[placeKey(e.codcat, e.CodSCat)].append(e.service);
    }
    QHash<qint16, QList<const SubCategory *>> subcategories;
    for (const SubCategory &s : store.SubCategories()) {
        subcategories[s.codcat].append(&s);
    }

    QStringList lines;
    const auto addServices = [&](int depth, qint16 codcat, qint16 CodSCat) {
        const QString indent(qsizetype{depth} * 2, QLatin1Char(' '));
        for (const QString &service : services.value(placeKey(codcat, CodSCat))) {
            lines.append(indent + oneLine(service));
        }
    };
    for (const Category &c : store.Categories()) {
        lines.append(group(0, c.DescrCat, store.CountCategoryPasswords(c.DescrCat)));
        for (const SubCategory *s : subcategories.value(c.codcat)) {
            lines.append(
                group(1, s->DescrSCat, store.CountSubCategoryPasswords(c.codcat, s->DescrSCat)));
            addServices(2, c.codcat, s->CodSCat);
        }
        const int loose = store.CountSubCategoryPasswords(c.codcat, QString());
        if (loose > 0) {
            lines.append(group(1, QStringLiteral("No SubCategory"), loose));
            addServices(2, c.codcat, 0);
        }
    }
    const int uncategorized = store.CountCategoryPasswords(QString());
    if (uncategorized > 0) {
        lines.append(group(0, QStringLiteral("No Category"), uncategorized));
        addServices(1, 0, 0);
    }
    return lines;
}

QStringList dueLines(const std::vector<DueItem> &items)
{
    QStringList lines;
    for (const DueItem &item : items) {
        lines.append(oneLine(item.service) + QLatin1Char('\t') + item.date.toString(Qt::ISODate) +
                     QLatin1Char('\t') + oneLine(item.message));
    }
    return lines;
}
