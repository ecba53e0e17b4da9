#pragma once

// Records with expiration and change dates around a fixed day, and a main
// window for the expiration list to sit over, for the tests of that list.

#include "frmCheckExpire.h"
#include "Grid.h"
#include "TestServices.h"

#include <QLocale>
#include <QMetaType>
#include <QSettings>
#include <QTest>

namespace expiretest {

// The day the fixed clock of the test services stands on.
inline const QDate Today(2026, 12, 7);
// A date offset that stands for "no date at all".
constexpr int NoDate = 9999;

inline QString shortDate(int daysFromToday)
{
    return QLocale::system().toString(Today.addDays(daysFromToday), QLocale::ShortFormat);
}

struct Dates
{
    bool expire = false;
    int expireIn = 0;
    bool notifyExpire = false;
    int expireNotice = 0;
    bool change = false;
    int changeIn = 0;
    bool notifyChange = false;
    int changeNotice = 0;
};

inline QDate dateIn(int days)
{
    return days == NoDate ? QDate() : Today.addDays(days);
}

inline PasswordEntry record(const QString &service, const Dates &d)
{
    PasswordEntry e;
    e.service = service;
    e.Password = service + QStringLiteral("-secret");
    e.blExpire = d.expire;
    e.Dt_Expire = dateIn(d.expireIn);
    e.blNotExpire = d.notifyExpire;
    e.ggNotExpire = static_cast<qint16>(d.expireNotice);
    e.blChange = d.change;
    e.Dt_Change = dateIn(d.changeIn);
    e.blNotChange = d.notifyChange;
    e.ggNotChange = static_cast<qint16>(d.changeNotice);
    return e;
}

inline Dates expiring(int in, bool notify = true, int notice = 0)
{
    Dates d;
    d.expire = true;
    d.expireIn = in;
    d.notifyExpire = notify;
    d.expireNotice = notice;
    return d;
}

inline Dates changing(int in, bool notify = true, int notice = 0)
{
    Dates d;
    d.change = true;
    d.changeIn = in;
    d.notifyChange = notify;
    d.changeNotice = notice;
    return d;
}

inline QString colourName(const QColor &colour)
{
    if (!colour.isValid()) {
        return {};
    }
    if (colour == QColor(255, 0, 0)) {
        return QStringLiteral("red");
    }
    if (colour == QColor(0, 255, 0)) {
        return QStringLiteral("green");
    }
    return colour.name();
}

// Every row as "service|exp. date|chg. date|status", a cell's colour after "@".
inline QStringList rowsOf(const controls::Grid &grid)
{
    QStringList rows;
    for (int row = 1; row <= grid.rowCount(); ++row) {
        QStringList cells;
        for (int column = 1; column <= grid.columnCount(); ++column) {
            QString cell = grid.cellText(row, column);
            const QString colour = colourName(grid.cellForeColour(row, column));
            if (!colour.isEmpty()) {
                cell += QLatin1Char('@') + colour;
            }
            cells << cell;
        }
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

using MainWindow = WidgetMainWindow;

struct Fixture
{
    TestServices t;
    MainWindow main;
    QStringList edited;

    Fixture()
    {
        t.state.Store->NewFile();
        main.widget.resize(700, 500);
        main.widget.show();
        t.state.setCurrentMainWindow(&main);
    }
    ~Fixture() { t.state.setCurrentMainWindow(nullptr); }
    Fixture(const Fixture &) = delete;
    Fixture &operator=(const Fixture &) = delete;

    void add(const QString &service, const Dates &d)
    {
        QVERIFY2(t.state.Store->AddPassword(record(service, d)),
                 qPrintable(t.state.Store->LastError()));
    }
    dialogs::EditPassword editor()
    {
        return [this](const QString &service) { edited << service; };
    }
};

// Placement saved by one case must not move the window of the next.
inline void clearSavedSettings()
{
    QSettings(QStringLiteral("Quorvan"), QStringLiteral("VLM")).clear();
}

} // namespace expiretest

Q_DECLARE_METATYPE(expiretest::Dates)
