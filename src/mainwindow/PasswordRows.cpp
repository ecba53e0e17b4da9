#include "PasswordRows.h"

#include "Expiration.h"
#include "Grid.h"
#include "PasswordStore.h"

#include <algorithm>

using namespace password_columns;

namespace {

// Windows RGB values, as the grid takes its colours.
constexpr int Red = 255;
constexpr int Green = 65280;
constexpr int Yellow = 65535;
constexpr int NotesGrey = 128 + 128 * 256 + 128 * 65536;

} // namespace

PasswordRows::PasswordRows(const std::unique_ptr<PasswordStore> &store, const controls::Grid &grid,
                           qint16 category, qint16 subCategory, Looks looks)
    : m_owner(store), m_store(store.get()), m_revision(store ? store->Revision() : 0), m_grid(grid),
      m_looks(looks)
{
    if (m_store == nullptr) {
        return;
    }
    const auto shown = [category, subCategory](const PasswordEntry &e) {
        return (category == -1 || category == e.codcat) &&
               (subCategory == -1 || subCategory == e.CodSCat);
    };
    const auto &records = m_store->Passwords();
    if (category == -1 && subCategory == -1) {
        m_rows.reserve(static_cast<size_t>(records.Count()));
    }
    for (const PasswordEntry &e : records) {
        if (!shown(e)) {
            continue;
        }
        m_rows.push_back(Row{&e, e.service});
        if (!m_categoryNames.contains(e.codcat)) {
            m_categoryNames.insert(e.codcat, m_store->CategoryName(e.codcat));
        }
        if (!m_subCategoryNames.contains(e.CodSCat)) {
            m_subCategoryNames.insert(e.CodSCat, m_store->SubCategoryName(e.CodSCat));
        }
    }
}

bool PasswordRows::current() const
{
    const PasswordStore *store = m_owner.get();
    return store != nullptr && store == m_store && store->Revision() == m_revision;
}

const PasswordEntry *PasswordRows::record(const Row &row) const
{
    if (current()) {
        return row.record;
    }
    const PasswordStore *store = m_owner.get();
    return store != nullptr ? store->Passwords().Item(row.service) : nullptr;
}

QString PasswordRows::folderName(bool category, qint16 code) const
{
    if (current()) {
        return (category ? m_categoryNames : m_subCategoryNames).value(code);
    }
    const PasswordStore &store = *m_owner;
    return category ? store.CategoryName(code) : store.SubCategoryName(code);
}

bool PasswordRows::ascendingBy(int column, int sortCode) const
{
    return column + 1 == ServiceColumn && sortCode == controls::SortText && current();
}

void PasswordRows::cell(int row, int column, controls::GridCellData &out) const
{
    if (row < 0 || row >= rows()) {
        return;
    }
    const PasswordEntry *e = record(m_rows[static_cast<size_t>(row)]);
    if (e == nullptr) {
        return;
    }
    const auto dateCell = [&](bool active, const QDate &date, int notice) {
        out.text = m_grid.dateText(column + 1, active ? date : QDate());
        out.foreColour = ComputeDateStatus(active, date, notice, Red, Yellow, Green, m_looks.today);
    };
    const auto statusImage = [&](bool active, const QDate &date, int notice) {
        out.image = static_cast<qint16>(ComputeDateStatus(active, date, notice, m_looks.alertImage,
                                                          m_looks.warningImage, 0, m_looks.today));
    };
    const auto link = [&](const QString &text) {
        out.text = text;
        out.font = static_cast<qint16>(m_looks.linkFont);
    };
    switch (column + 1) {
    case ServiceColumn:
        out.text = e->service;
        out.font = static_cast<qint16>(m_looks.boldFont);
        break;
    case UserNameColumn:
        out.text = e->UserName;
        break;
    case PasswordColumn:
        out.text = e->Password;
        break;
    case UrlColumn:
        link(e->URL);
        break;
    case ExpUrlColumn:
        link(e->ExpURL);
        break;
    case ChangeUrlColumn:
        link(e->ChangeURL);
        break;
    case ExpireColumn:
        statusImage(e->blExpire, e->Dt_Expire, e->ggNotExpire);
        break;
    case ChangeColumn:
        statusImage(e->blChange, e->Dt_Change, e->ggNotChange);
        break;
    case ExpDateColumn:
        dateCell(e->blExpire, e->Dt_Expire, e->ggNotExpire);
        break;
    case ChangeDateColumn:
        dateCell(e->blChange, e->Dt_Change, e->ggNotChange);
        break;
    case CatColumn:
        out.text = folderName(true, e->codcat);
        break;
    case SubCatColumn:
        out.text = folderName(false, e->CodSCat);
        break;
    case NotesColumn:
        out.text = e->Notes;
        out.foreColour = NotesGrey;
        break;
    default:
        break;
    }
}
