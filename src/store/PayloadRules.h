#pragma once

// Private to the payload readers: what a field of a record may hold and how a
// record joins the others, shared by the full and the quick reader so that
// both accept exactly the same values.

#include "FileFormat.h"

#include <iterator>
#include <limits>
#include <QDate>
#include <QDateTime>
#include <vector>

namespace payload {

constexpr int RecordFields = 16;
constexpr quint64 BitChange = 1;
constexpr quint64 BitExpire = 2;
constexpr quint64 BitNotExpire = 4;
constexpr quint64 BitNotChange = 8;

// A folder code (1 and up, or 0 for none where allowZero) read as a number.
inline bool toCode(qint64 v, bool allowZero, qint16 &out)
{
    if (v < (allowZero ? 0 : 1) || v > std::numeric_limits<qint16>::max()) {
        return false;
    }
    out = static_cast<qint16>(v);
    return true;
}

inline bool toShort(qint64 v, qint16 &out)
{
    if (v < std::numeric_limits<qint16>::min() || v > std::numeric_limits<qint16>::max()) {
        return false;
    }
    out = static_cast<qint16>(v);
    return true;
}

inline bool dateTimeFromMs(qint64 ms, QDateTime &out)
{
    // Beyond +-100000 years QDateTime cannot represent the instant.
    constexpr qint64 Limit = 3'000'000'000'000'000LL;
    if (ms < -Limit || ms > Limit) {
        return false;
    }
    // UTC: no time-zone lookup per record; shown in local time by the GUI.
    out = QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
    return out.isValid();
}

inline bool dateFromJulianDay(qint64 jd, QDate &out)
{
    // Keeps dates within years -9999..9999 plus margin.
    if (jd < 0 || jd > 10'000'000) {
        return false;
    }
    out = QDate::fromJulianDay(jd);
    return out.isValid();
}

inline void setFlags(PasswordEntry &e, quint64 bits)
{
    e.blChange = (bits & BitChange) != 0;
    e.blExpire = (bits & BitExpire) != 0;
    e.blNotExpire = (bits & BitNotExpire) != 0;
    e.blNotChange = (bits & BitNotChange) != 0;
}

// Adds a record under its case-folded service; false when that is taken.
inline bool insertRecord(PasswordMap &records, PasswordEntry &&e)
{
    // A saved file lists its records in key order, so the hint is right
    // almost always and loading stays linear.
    QString key = e.service.toCaseFolded();
    if (!records.empty() && !(std::prev(records.end())->first < key)) {
        return records.emplace(std::move(key), std::move(e)).second;
    }
    records.emplace_hint(records.end(), std::move(key), std::move(e));
    return true;
}

// Where records may point: tables by code of the categories and
// subcategories read, so that checking many records costs an index each.
class Placement
{
public:
    Placement(const std::vector<Category> &categories, const std::vector<SubCategory> &subs)
        : m_isCategory(Codes), m_ownerOf(Codes)
    {
        for (const Category &c : categories) {
            m_isCategory[slot(c.codcat)] = true;
        }
        for (const SubCategory &s : subs) {
            m_ownerOf[slot(s.CodSCat)] = s.codcat;
        }
    }

    // A service name, and a category and subcategory that exist and belong
    // together (once the categories and subcategories passed their checks).
    bool fits(const PasswordEntry &e) const
    {
        const bool categoryOk = e.codcat == 0 ? e.CodSCat == 0 : m_isCategory[slot(e.codcat)];
        const bool subcategoryOk = e.CodSCat == 0 || m_ownerOf[slot(e.CodSCat)] == e.codcat;
        return !e.service.isEmpty() && categoryOk && subcategoryOk;
    }

private:
    static constexpr std::size_t Codes = std::size_t{1} << 16;
    static std::size_t slot(qint16 code) { return static_cast<quint16>(code); }

    std::vector<bool> m_isCategory;
    std::vector<qint16> m_ownerOf; // 0: no such subcategory
};

} // namespace payload
