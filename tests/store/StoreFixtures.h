#pragma once
// Shared set-up of the store tests: cheap stores, filled-in records, a small
// tree, the store as one line of text, files on disk.

#include "PasswordStore.h"

#include <memory>
#include <QFile>
#include <QTest>

// A fresh store with a new, empty file and the cheapest key derivation.
inline std::unique_ptr<PasswordStore> newStore()
{
    auto store = std::make_unique<PasswordStore>();
    store->SetKdfParams(KdfParams::Minimum());
    store->NewFile();
    return store;
}

// Every text field differs, so a field mixed up on the way shows.
inline PasswordEntry makeRecord(const QString &service, qint16 codcat = 0, qint16 CodSCat = 0)
{
    const QString url = "https://" + service + ".example";
    const QDateTime inserted(QDate(2026, 1, 2), QTime(3, 4, 5));
    return PasswordEntry(service, codcat, CodSCat, service + "-user", service + "-secret",
                         "notes of " + service, url, url + "/change", url + "/delete", inserted,
                         inserted.addDays(30), QDate(2027, 1, 1), QDate(2026, 12, 31), false, true,
                         true, false, 10, 5);
}

// Web {Shops, News}, Mail {news}, Flat; records added out of order; Web and
// Flat expanded. Initial is what dump() shows of it.
inline void fillTree(PasswordStore &s)
{
    QVERIFY(s.AddCategory("Web") && s.AddCategory("Mail") && s.AddCategory("Flat"));
    QVERIFY(s.AddSubCategory(1, "Shops") && s.AddSubCategory(1, "News"));
    QVERIFY(s.AddSubCategory(2, "news"));
    for (const PasswordEntry &e :
         {makeRecord("f", 3), makeRecord("c", 2), makeRecord("a", 1, 1), makeRecord("b", 1)}) {
        QVERIFY(s.AddPassword(e));
    }
    s.SetNodeExpanded("Web", true);
    s.SetNodeExpanded("FLAT", true);
}

const QString Initial =
    "Flat=3 Mail=2 Web=1|News=2@1 Shops=1@1 news=3@2|a@1.1 b@1.0 c@2.0 f@3.0|Web Flat";

// The whole store as one line: categories, subcategories (code@category),
// records (@category.subcategory), then the expanded nodes among a few names.
inline QString dump(const PasswordStore &s)
{
    QStringList cats, subs, recs, open;
    for (const Category &c : s.Categories()) {
        cats << c.DescrCat + '=' + QString::number(c.codcat);
    }
    for (const SubCategory &c : s.SubCategories()) {
        subs << QString("%1=%2@%3").arg(c.DescrSCat).arg(c.CodSCat).arg(c.codcat);
    }
    for (const PasswordEntry &e : s.Passwords()) {
        recs << QString("%1@%2.%3").arg(e.service).arg(e.codcat).arg(e.CodSCat);
    }
    for (const char *name : {"Web", "Mail", "Flat", "New"}) {
        if (s.GetNodeExpanded(name)) {
            open << name;
        }
    }
    return QStringList{cats.join(' '), subs.join(' '), recs.join(' '), open.join(' ')}.join('|');
}

inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}
