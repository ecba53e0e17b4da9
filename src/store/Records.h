#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// The three kinds of object a password file holds. Field names are the ones the
// rest of the program reads them by.

struct Category
{
    qint16 codcat = 0;
    QString DescrCat;
};

struct SubCategory
{
    qint16 codcat = 0;
    qint16 CodSCat = 0;
    QString DescrSCat;
};

// One service record, fields in the order in which the record dialog hands them over.
struct PasswordEntry
{
    QString service;
    qint16 codcat = 0;
    qint16 CodSCat = 0;
    QString UserName;
    QString Password;
    QString Notes;
    QString URL;
    QString ChangeURL;
    QString ExpURL;
    QDateTime Dt_Insert;
    QDateTime Dt_Modify;
    QDate Dt_Expire;
    QDate Dt_Change;
    bool blChange = false;
    bool blExpire = false;
    bool blNotExpire = false;
    bool blNotChange = false;
    qint16 ggNotExpire = 0;
    qint16 ggNotChange = 0;

    friend bool operator==(const PasswordEntry &, const PasswordEntry &) = default;
};

// A record placed by the names of its folders instead of their codes, as files
// of other programs carry it. An empty category means none; a subcategory
// needs a category (see PasswordStore::MergeRecords for one without).
struct NamedRecord
{
    PasswordEntry entry;
    QString category;
    QString subcategory;

    friend bool operator==(const NamedRecord &, const NamedRecord &) = default;
};
