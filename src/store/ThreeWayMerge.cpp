// The three-way merge of a version saved on another device into the one in
// memory, against the version both started from.

#include "PasswordStoreImpl.h"

#include <vector>

namespace {

const QChar Separator(u'\n');

// One version's categories and subcategories by code. Each device gives its
// own codes, so records, categories and subcategories compare by names.
struct Tree
{
    QHash<qint16, QString> categories;
    QHash<qint16, SubCategory> subcategories;

    template <typename Categories, typename SubCategories>
    Tree(const Categories &cats, const SubCategories &subs)
    {
        for (const Category &c : cats) {
            categories.insert(c.codcat, c.DescrCat);
        }
        for (const SubCategory &s : subs) {
            subcategories.insert(s.CodSCat, s);
        }
    }
    QString subKey(const SubCategory &s) const
    {
        return (categories.value(s.codcat) + Separator + s.DescrSCat).toCaseFolded();
    }
    QString place(const PasswordEntry &e) const
    {
        return (categories.value(e.codcat) + Separator + subcategories.value(e.CodSCat).DescrSCat)
            .toCaseFolded();
    }
    QSet<QString> categoryKeys() const
    {
        QSet<QString> keys;
        for (const QString &name : categories) {
            keys.insert(name.toCaseFolded());
        }
        return keys;
    }
    QSet<QString> subKeys() const
    {
        QSet<QString> keys;
        for (const SubCategory &s : subcategories) {
            keys.insert(subKey(s));
        }
        return keys;
    }
};

const PasswordEntry *find(const PasswordMap &records, const QString &key)
{
    const auto it = records.find(key);
    return it == records.end() ? nullptr : &it->second;
}

// The same state of one record in two versions; both absent is the same too.
bool same(const PasswordEntry *a, const Tree &ta, const PasswordEntry *b, const Tree &tb)
{
    if (a == nullptr || b == nullptr) {
        return a == b;
    }
    if (ta.place(*a) != tb.place(*b)) {
        return false;
    }
    PasswordEntry other = *b;
    other.codcat = a->codcat;
    other.CodSCat = a->CodSCat;
    return *a == other;
}

// What becomes of one record: theirs taken (nullptr: deleted), or added
// beside ours under another name.
struct Step
{
    QString key;
    const PasswordEntry *theirs;
    int DiskMergeResult::*count;
    bool asCopy;
};

} // namespace

void PasswordStore::Impl::mergeThreeWay(const FileContent &baseContent, const FileContent &theirs,
                                        DiskMergeResult &result)
{
    const Tree b(baseContent.categories, baseContent.subcategories);
    const Tree t(theirs.categories, theirs.subcategories);
    const Tree o(categories, subcategories);
    const QSet<QString> baseCategories = b.categoryKeys();
    const QSet<QString> theirCategories = t.categoryKeys();
    const QSet<QString> ourCategories = o.categoryKeys();
    const QSet<QString> baseSubs = b.subKeys();
    const QSet<QString> theirSubs = t.subKeys();
    const QSet<QString> ourSubs = o.subKeys();

    // Ours found by name, or added (back) because the merge keeps something in it.
    const auto categoryCode = [&](const QString &name) -> qint16 {
        if (const Category *c = categories.Item(name)) {
            return c->codcat;
        }
        qint16 code = 0;
        if (addCategory(name, &code)) {
            ++result.categoriesAdded;
        }
        return code;
    };
    const auto subCategoryCode = [&](qint16 codcat, const QString &name) -> qint16 {
        if (const SubCategory *s = subcategories.Item(subKey(codcat, name))) {
            return s->CodSCat;
        }
        qint16 code = 0;
        if (codcat != 0 && addSubCategory(codcat, name, &code)) {
            ++result.subcategoriesAdded;
        }
        return code;
    };

    for (const Category &c : theirs.categories) {
        const QString key = c.DescrCat.toCaseFolded();
        if (!baseCategories.contains(key) && !ourCategories.contains(key)) {
            categoryCode(c.DescrCat);
        }
    }
    for (const SubCategory &s : theirs.subcategories) {
        const QString key = t.subKey(s);
        if (!baseSubs.contains(key) && !ourSubs.contains(key)) {
            subCategoryCode(categoryCode(t.categories.value(s.codcat)), s.DescrSCat);
        }
    }

    // Decide every record before touching any, against ours as it was.
    std::vector<Step> steps;
    const auto decide = [&](const QString &key) {
        const PasswordEntry *pb = find(baseContent.passwords, key);
        const PasswordEntry *pt = find(theirs.passwords, key);
        const PasswordEntry *po = find(passwords.m_map, key);
        if (same(po, o, pt, t) || same(pb, b, pt, t)) {
            return; // alike on both sides, or changed here only
        }
        if (same(pb, b, po, o)) {
            int DiskMergeResult::*count = pt == nullptr   ? &DiskMergeResult::deleted
                                          : po == nullptr ? &DiskMergeResult::added
                                                          : &DiskMergeResult::changed;
            steps.push_back({key, pt, count, false});
        } else if (po == nullptr) {
            steps.push_back({key, pt, &DiskMergeResult::kept, false}); // deleted here only
        } else if (pt == nullptr) {
            ++result.kept; // deleted there, changed here: ours stays
        } else {
            steps.push_back({key, pt, &DiskMergeResult::conflicts, true});
        }
    };
    for (const auto &entry : baseContent.passwords) {
        decide(entry.first);
    }
    for (const auto &entry : theirs.passwords) {
        if (find(baseContent.passwords, entry.first) == nullptr) {
            decide(entry.first);
        }
    }
    // Added here only: nothing to do.

    const auto placedHere = [&](PasswordEntry e) {
        const QString category = t.categories.value(e.codcat);
        const QString sub = t.subcategories.value(e.CodSCat).DescrSCat;
        e.codcat = category.isEmpty() ? qint16(0) : categoryCode(category);
        e.CodSCat = sub.isEmpty() ? qint16(0) : subCategoryCode(e.codcat, sub);
        return e;
    };
    // Copies last, so that their names are chosen among the final records.
    for (const Step &step : steps) {
        if (!step.asCopy) {
            ++(result.*step.count);
            passwords.m_map.erase(step.key);
            if (step.theirs != nullptr) {
                passwords.m_map.emplace(step.key, placedHere(*step.theirs));
            }
        }
    }
    for (const Step &step : steps) {
        if (step.asCopy) {
            ++(result.*step.count);
            PasswordEntry e = placedHere(*step.theirs);
            const QString service = e.service;
            e.service = QStringLiteral("%1 (changed elsewhere)").arg(service);
            for (int n = 2; passwords.Contains(e.service); ++n) {
                e.service = QStringLiteral("%1 (changed elsewhere %2)").arg(service).arg(n);
            }
            result.conflictNames << e.service;
            const QString name = e.service;
            passwords.insert(name, std::move(e));
        }
    }

    // Deleted on disk only: deleted here, unless something the merge keeps
    // still lies in it.
    QSet<qint16> usedCategories;
    QSet<qint16> usedSubs;
    for (const PasswordEntry &e : passwords) {
        usedCategories.insert(e.codcat);
        usedSubs.insert(e.CodSCat);
    }
    std::vector<SubCategory> subs(subcategories.begin(), subcategories.end());
    for (const SubCategory &s : subs) {
        const QString key =
            (categoryNameByCode.value(s.codcat) + Separator + s.DescrSCat).toCaseFolded();
        if (baseSubs.contains(key) && !theirSubs.contains(key) && !usedSubs.contains(s.CodSCat)) {
            eraseSubCategory(subKey(s.codcat, s.DescrSCat));
            ++result.subcategoriesDeleted;
        }
    }
    for (const SubCategory &s : subcategories) {
        usedCategories.insert(s.codcat);
    }
    const std::vector<Category> cats(categories.begin(), categories.end());
    for (const Category &c : cats) {
        const QString key = c.DescrCat.toCaseFolded();
        if (baseCategories.contains(key) && !theirCategories.contains(key) &&
            !usedCategories.contains(c.codcat)) {
            expanded.remove(key);
            categoryNameByCode.remove(c.codcat);
            categories.erase(c.DescrCat);
            ++result.categoriesDeleted;
        }
    }
}
