#pragma once

#include "PasswordStore.h"

#include <memory>
#include <QList>
#include <QPair>

// A fresh store with a new, empty file and the cheapest key derivation.
inline std::unique_ptr<PasswordStore> newStore()
{
    auto store = std::make_unique<PasswordStore>();
    store->SetKdfParams(KdfParams::Minimum());
    store->NewFile();
    return store;
}

inline PasswordEntry makeRecord(const QString &service, qint16 codcat = 0, qint16 CodSCat = 0)
{
    PasswordEntry e;
    e.service = service;
    e.codcat = codcat;
    e.CodSCat = CodSCat;
    e.UserName = service + QStringLiteral("-user");
    e.Password = service + QStringLiteral("-secret");
    e.Notes = QStringLiteral("notes of ") + service;
    e.URL = QStringLiteral("https://") + service + QStringLiteral(".example");
    e.ChangeURL = e.URL + QStringLiteral("/change");
    e.ExpURL = e.URL + QStringLiteral("/delete");
    e.Dt_Insert = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5));
    e.Dt_Modify = QDateTime(QDate(2026, 2, 3), QTime(4, 5, 6));
    e.Dt_Expire = QDate(2027, 1, 1);
    e.Dt_Change = QDate(2026, 12, 31);
    e.blExpire = true;
    e.blNotExpire = true;
    e.ggNotExpire = 10;
    e.ggNotChange = 5;
    return e;
}

inline qint16 categoryCode(const PasswordStore &store, const QString &name)
{
    const Category *c = store.Categories().Item(name);
    return c != nullptr ? c->codcat : qint16(-1);
}

inline qint16 subCategoryCode(const PasswordStore &store, qint16 codcat, const QString &name)
{
    const SubCategory *s =
        store.SubCategories().Item(QString::number(codcat) + QLatin1Char('!') + name);
    return s != nullptr ? s->CodSCat : qint16(-1);
}

// Records what a fill operation hands over.
class RecordingList : public ListSink
{
public:
    void Clear() override { items.clear(); }
    void AddItem(const QString &text, int itemData) override { items.append({text, itemData}); }
    QList<QPair<QString, int>> items;
};
