#pragma once

#include "Records.h"

#include <QDate>
#include <QString>
#include <vector>

class PasswordStore;

// The expiration rule shared by the grid and the list of records due: a date
// has come (due), falls within its notice period (notice), or neither.
template <typename T>
T ComputeDateStatus(bool active, const QDate &date, int noticeDays, const T &due, const T &notice,
                    const T &defaultValue, const QDate &today)
{
    if (!active) {
        return defaultValue;
    }
    if (today >= date) {
        return due;
    }
    if (today.addDays(noticeDays) >= date) {
        return notice;
    }
    return defaultValue;
}

// One row of the list of records due.
struct DueItem
{
    enum class Part
    {
        Expiration,
        Change
    };
    QString service;
    Part part = Part::Expiration;
    QDate date;
    qint64 days = 0; // from today to date; 0 or less when it has come
    QString message; // "Expired from ...", "5 days to expiration", ...
    bool overdue() const { return days <= 0; }
};

// Every record whose expiration or change is due or announced, in collection
// order, the expiration row of a record before its change row.
std::vector<DueItem> DueList(const PasswordStore &store, const QDate &today);
