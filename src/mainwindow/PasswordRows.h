#pragma once

#include "GridTypes.h"

#include <memory>
#include <QDate>
#include <QHash>
#include <QString>
#include <vector>

class PasswordStore;
struct PasswordEntry;

namespace controls {
class Grid;
}

// The password grid's columns in their fixed order, 1-based as the grid counts them.
namespace password_columns {
enum Column : int
{
    Group1 = 1,
    Group2,
    Group3,
    ServiceColumn,
    UserNameColumn,
    PasswordColumn,
    UrlColumn,
    ExpireColumn,
    ExpDateColumn,
    ExpUrlColumn,
    ChangeColumn,
    ChangeDateColumn,
    ChangeUrlColumn,
    CatColumn,
    SubCatColumn,
    NotesColumn,
};
} // namespace password_columns

// The rows of the password grid: the records of one branch, held as pointers
// into the store, their cells worked out when the grid asks. Nothing is copied
// but the service names, so a grid of 100,000 records costs a few MB.
//
// The store may change before the grid is filled again. The rows then find
// their records anew by service name: an edited record shows its new values,
// a deleted or renamed one an empty row, and another store (a file opened or
// locked meanwhile) is never read through the old pointers.
class PasswordRows final : public controls::GridRowSource
{
public:
    // What the cells look like beyond the record's own values.
    struct Looks
    {
        int boldFont = -1;  // the grid's font index for the service
        int linkFont = -1;  // and for links
        int alertImage = 0; // status icons, 1-based in the grid's image list
        int warningImage = 0;
        QDate today;
    };

    // The records of a category and subcategory (-1 for any), in the store's order.
    PasswordRows(const std::unique_ptr<PasswordStore> &store, const controls::Grid &grid,
                 qint16 category, qint16 subCategory, Looks looks);

    int rows() const override { return static_cast<int>(m_rows.size()); }
    void cell(int row, int column, controls::GridCellData &out) const override;
    // The store keeps its records by case-folded service, unique: the order of
    // a text sort of the service column.
    bool ascendingBy(int column, int sortCode) const override;

private:
    struct Row
    {
        const PasswordEntry *record;
        QString service;
    };

    // Whether the store is the one, and at the revision, the rows were taken from.
    bool current() const;
    // The row's record as the store holds it now, nullptr when it is gone.
    const PasswordEntry *record(const Row &row) const;
    // The name of a folder: looked up once per fill while the store stands.
    QString folderName(bool category, qint16 code) const;

    const std::unique_ptr<PasswordStore> &m_owner;
    const PasswordStore *m_store;
    quint64 m_revision;
    const controls::Grid &m_grid;
    Looks m_looks;
    std::vector<Row> m_rows;
    QHash<qint16, QString> m_categoryNames;
    QHash<qint16, QString> m_subCategoryNames;
};
