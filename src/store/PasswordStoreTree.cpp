// Categories and subcategories: the two levels of the hierarchy and the moves
// between them.

#include "PasswordStoreImpl.h"

#include <limits>

namespace {

QString quoted(const QString &name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

} // namespace

bool isUsableName(const QString &name)
{
    return !name.trimmed().isEmpty();
}

qint16 PasswordStore::Impl::freeCode(const QMap<qint16, QString> &used)
{
    constexpr int Max = std::numeric_limits<qint16>::max();
    if (used.isEmpty()) {
        return 1;
    }
    if (used.lastKey() < Max) {
        return static_cast<qint16>(used.lastKey() + 1);
    }
    // Every code up to the highest is taken unless there is a gap left by a deletion.
    int expected = 1;
    for (auto it = used.keyBegin(); it != used.keyEnd(); ++it, ++expected) {
        if (*it != expected) {
            return static_cast<qint16>(expected);
        }
    }
    return 0;
}

bool PasswordStore::Impl::addCategory(const QString &name, qint16 *codeOut)
{
    if (fileName.isEmpty()) {
        return fail(QStringLiteral("No password file is open."));
    }
    if (!isUsableName(name)) {
        return fail(QStringLiteral("A category needs a name."));
    }
    if (categories.Contains(name)) {
        return fail(QStringLiteral("The category %1 already exists.").arg(quoted(name)));
    }
    const qint16 code = freeCode(categoryNameByCode);
    if (code == 0) {
        return fail(QStringLiteral("The file cannot hold more than 32767 categories."));
    }
    categories.insert(name, Category{code, name});
    categoryNameByCode.insert(code, name);
    if (codeOut != nullptr) {
        *codeOut = code;
    }
    changed();
    return true;
}

void PasswordStore::Impl::insertSubCategory(SubCategory s)
{
    const QString key = subKey(s.codcat, s.DescrSCat);
    subcategoryKeyByCode.insert(s.CodSCat, key);
    subcategories.insert(key, std::move(s));
}

void PasswordStore::Impl::eraseSubCategory(const QString &key)
{
    if (const SubCategory *sub = subcategories.find(key)) {
        subcategoryKeyByCode.remove(sub->CodSCat);
        subcategories.erase(key);
    }
}

bool PasswordStore::Impl::addSubCategory(qint16 codcat, const QString &name, qint16 *codeOut)
{
    if (!categoryNameByCode.contains(codcat)) {
        return fail(QStringLiteral("There is no category with code %1.").arg(codcat));
    }
    if (!isUsableName(name)) {
        return fail(QStringLiteral("A subcategory needs a name."));
    }
    if (subcategories.Contains(subKey(codcat, name))) {
        return fail(QStringLiteral("The category %1 already has a subcategory %2.")
                        .arg(quoted(categoryNameByCode.value(codcat)), quoted(name)));
    }
    const qint16 code = freeCode(subcategoryKeyByCode);
    if (code == 0) {
        return fail(QStringLiteral("The file cannot hold more than 32767 subcategories."));
    }
    insertSubCategory(SubCategory{codcat, code, name});
    if (codeOut != nullptr) {
        *codeOut = code;
    }
    changed();
    return true;
}

bool PasswordStore::Impl::mergeTree(const FileContent &other, QHash<qint16, qint16> &categoryMap,
                                    QHash<qint16, qint16> &subcategoryMap, bool &addedSomething)
{
    addedSomething = false;
    for (const Category &c : other.categories) {
        const Category *mine = categories.Item(c.DescrCat);
        qint16 code = mine != nullptr ? mine->codcat : 0;
        if (mine == nullptr) {
            if (!addCategory(c.DescrCat, &code)) {
                return false;
            }
            addedSomething = true;
        }
        categoryMap.insert(c.codcat, code);
    }
    for (const SubCategory &s : other.subcategories) {
        const qint16 codcat = categoryMap.value(s.codcat);
        const SubCategory *mine = subcategories.Item(subKey(codcat, s.DescrSCat));
        qint16 code = mine != nullptr ? mine->CodSCat : 0;
        if (mine == nullptr) {
            if (!addSubCategory(codcat, s.DescrSCat, &code)) {
                return false;
            }
            addedSomething = true;
        }
        subcategoryMap.insert(s.CodSCat, code);
    }
    return true;
}

bool PasswordStore::AddCategory(const QString &name)
{
    return d->addCategory(name, nullptr);
}

bool PasswordStore::DeleteCategory(const QString &name, bool keep)
{
    const Category *category = d->categories.Item(name);
    if (category == nullptr) {
        return d->fail(QStringLiteral("There is no category %1.").arg(quoted(name)));
    }
    const qint16 code = category->codcat;
    auto &records = d->passwords.m_map;
    for (auto it = records.begin(); it != records.end();) {
        if (it->second.codcat != code) {
            ++it;
        } else if (keep) {
            it->second.codcat = 0;
            it->second.CodSCat = 0;
            ++it;
        } else {
            it = records.erase(it);
        }
    }
    auto &subs = d->subcategories.m_map;
    for (auto it = subs.begin(); it != subs.end();) {
        if (it->second.codcat == code) {
            d->subcategoryKeyByCode.remove(it->second.CodSCat);
            it = subs.erase(it);
        } else {
            ++it;
        }
    }
    d->expanded.remove(category->DescrCat.toCaseFolded());
    d->categoryNameByCode.remove(code);
    d->categories.erase(name);
    d->changed();
    return true;
}

bool PasswordStore::RenameCategory(const QString &oldName, const QString &newName)
{
    const Category *category = d->categories.Item(oldName);
    if (category == nullptr) {
        return d->fail(QStringLiteral("There is no category %1.").arg(quoted(oldName)));
    }
    if (!isUsableName(newName)) {
        return d->fail(QStringLiteral("A category needs a name."));
    }
    const Category *clash = d->categories.Item(newName);
    if (clash != nullptr && clash != category) {
        return d->fail(QStringLiteral("The category %1 already exists.").arg(quoted(newName)));
    }
    if (category->DescrCat == newName) {
        return true;
    }
    const bool wasExpanded = d->expanded.remove(category->DescrCat.toCaseFolded());
    Category renamed = *category;
    renamed.DescrCat = newName;
    d->categoryNameByCode.insert(renamed.codcat, newName);
    d->categories.erase(oldName);
    d->categories.insert(newName, std::move(renamed));
    if (wasExpanded) {
        d->expanded.insert(newName.toCaseFolded());
    }
    d->changed();
    return true;
}

bool PasswordStore::AddSubCategory(qint16 codcat, const QString &name)
{
    return d->addSubCategory(codcat, name, nullptr);
}

bool PasswordStore::DeleteSubCategory(qint16 codcat, const QString &name, bool keep)
{
    const QString key = Impl::subKey(codcat, name);
    const SubCategory *sub = d->subcategories.Item(key);
    if (sub == nullptr) {
        return d->fail(
            QStringLiteral("There is no subcategory %1 in that category.").arg(quoted(name)));
    }
    const qint16 code = sub->CodSCat;
    auto &records = d->passwords.m_map;
    for (auto it = records.begin(); it != records.end();) {
        if (it->second.CodSCat != code) {
            ++it;
        } else if (keep) {
            it->second.CodSCat = 0;
            ++it;
        } else {
            it = records.erase(it);
        }
    }
    d->eraseSubCategory(key);
    d->changed();
    return true;
}

bool PasswordStore::CopySubCategory(qint16 oldCode, qint16 newCode, const QString &name, bool flag)
{
    const QString key = Impl::subKey(oldCode, name);
    const SubCategory *sub = d->subcategories.Item(key);
    if (sub == nullptr) {
        return d->fail(
            QStringLiteral("There is no subcategory %1 in that category.").arg(quoted(name)));
    }
    if (!d->categoryNameByCode.contains(newCode)) {
        return d->fail(QStringLiteral("There is no category with code %1.").arg(newCode));
    }
    if (!flag) {
        return d->addSubCategory(newCode, sub->DescrSCat, nullptr);
    }
    const qint16 code = sub->CodSCat;
    for (auto &[service, record] : d->passwords.m_map) {
        if (record.CodSCat == code) {
            record.codcat = newCode;
            record.CodSCat = 0;
        }
    }
    d->eraseSubCategory(key);
    d->changed();
    return true;
}

bool PasswordStore::RenameSubCategory(qint16 codcat, const QString &oldName, const QString &newName)
{
    const SubCategory *sub = d->subcategories.Item(Impl::subKey(codcat, oldName));
    if (sub == nullptr) {
        return d->fail(
            QStringLiteral("There is no subcategory %1 in that category.").arg(quoted(oldName)));
    }
    if (!isUsableName(newName)) {
        return d->fail(QStringLiteral("A subcategory needs a name."));
    }
    const SubCategory *clash = d->subcategories.Item(Impl::subKey(codcat, newName));
    if (clash != nullptr && clash != sub) {
        return d->fail(
            QStringLiteral("The category already has a subcategory %1.").arg(quoted(newName)));
    }
    if (sub->DescrSCat == newName) {
        return true;
    }
    SubCategory renamed = *sub;
    renamed.DescrSCat = newName;
    d->eraseSubCategory(Impl::subKey(codcat, oldName));
    d->insertSubCategory(std::move(renamed));
    d->changed();
    return true;
}

bool PasswordStore::MoveSubCategory(const QString &name, qint16 oldCode, qint16 newCode)
{
    const SubCategory *sub = d->subcategories.Item(Impl::subKey(oldCode, name));
    if (sub == nullptr) {
        return d->fail(
            QStringLiteral("There is no subcategory %1 in that category.").arg(quoted(name)));
    }
    if (!d->categoryNameByCode.contains(newCode)) {
        return d->fail(QStringLiteral("There is no category with code %1.").arg(newCode));
    }
    if (oldCode == newCode) {
        return true;
    }
    if (d->subcategories.Contains(Impl::subKey(newCode, name))) {
        return d->fail(QStringLiteral("The category %1 already has a subcategory %2.")
                           .arg(quoted(d->categoryNameByCode.value(newCode)), quoted(name)));
    }
    SubCategory moved = *sub;
    moved.codcat = newCode;
    for (auto &[service, record] : d->passwords.m_map) {
        if (record.CodSCat == moved.CodSCat) {
            record.codcat = newCode;
        }
    }
    d->eraseSubCategory(Impl::subKey(oldCode, name));
    d->insertSubCategory(std::move(moved));
    d->changed();
    return true;
}

QString PasswordStore::CategoryName(qint16 codcat) const
{
    return d->categoryNameByCode.value(codcat);
}

QString PasswordStore::SubCategoryName(qint16 CodSCat) const
{
    const QString key = d->subcategoryKeyByCode.value(CodSCat);
    const SubCategory *sub = key.isEmpty() ? nullptr : d->subcategories.Item(key);
    return sub != nullptr ? sub->DescrSCat : QString();
}

bool PasswordStore::MoveCategoryToSubCategory(const QString &name, qint16 targetCode)
{
    const Category *category = d->categories.Item(name);
    if (category == nullptr) {
        return d->fail(QStringLiteral("There is no category %1.").arg(quoted(name)));
    }
    const qint16 code = category->codcat;
    if (!d->categoryNameByCode.contains(targetCode) || targetCode == code) {
        return d->fail(QStringLiteral("A category can only become a subcategory of another one."));
    }
    for (const SubCategory &sub : d->subcategories) {
        if (sub.codcat == code) {
            return d->fail(
                QStringLiteral("The category %1 has subcategories and cannot become one.")
                    .arg(quoted(category->DescrCat)));
        }
    }
    const QString text = category->DescrCat;
    qint16 subCode = 0;
    if (!d->addSubCategory(targetCode, text, &subCode)) {
        return false;
    }
    for (auto &[service, record] : d->passwords.m_map) {
        if (record.codcat == code) {
            record.codcat = targetCode;
            record.CodSCat = subCode;
        }
    }
    d->expanded.remove(text.toCaseFolded());
    d->categoryNameByCode.remove(code);
    d->categories.erase(text);
    d->changed();
    return true;
}

void PasswordStore::Impl::rebuildCounts() const
{
    if (countsValid) {
        return;
    }
    categoryCounts.clear();
    subcategoryCounts.clear();
    for (const PasswordEntry &e : passwords) {
        ++categoryCounts[e.codcat];
        ++subcategoryCounts[pairKey(e.codcat, e.CodSCat)];
    }
    countsValid = true;
}

int PasswordStore::CountCategoryPasswords(const QString &name) const
{
    qint16 code = 0;
    if (!name.isEmpty()) {
        const Category *category = d->categories.Item(name);
        if (category == nullptr) {
            return 0;
        }
        code = category->codcat;
    }
    d->rebuildCounts();
    return d->categoryCounts.value(code);
}

int PasswordStore::CountSubCategoryPasswords(qint16 codcat, const QString &name) const
{
    qint16 code = 0;
    if (!name.isEmpty()) {
        const SubCategory *sub = d->subcategories.Item(Impl::subKey(codcat, name));
        if (sub == nullptr) {
            return 0;
        }
        code = sub->CodSCat;
    }
    d->rebuildCounts();
    return d->subcategoryCounts.value(Impl::pairKey(codcat, code));
}

int PasswordStore::CountNodePasswords(const QString &rootText) const
{
    Q_UNUSED(rootText)
    return CountCategoryPasswords(QString());
}

void PasswordStore::FillCategoryList(ListSink &list, const QString &firstItem) const
{
    list.Clear();
    if (!firstItem.isEmpty()) {
        list.AddItem(firstItem, 0);
    }
    for (const Category &c : d->categories) {
        list.AddItem(c.DescrCat, c.codcat);
    }
}

void PasswordStore::FillSubCategoryList(ListSink &list, qint16 codcat,
                                        const QString &firstItem) const
{
    list.Clear();
    if (!firstItem.isEmpty()) {
        list.AddItem(firstItem, 0);
    }
    // The keys of one category form one run in the map: "12!" sorts before "120!".
    const QString prefix = QString::number(codcat) + QLatin1Char('!');
    const auto &subs = d->subcategories.m_map;
    for (auto it = d->subcategories.lowerBound(prefix);
         it != subs.end() && it->first.startsWith(prefix); ++it) {
        list.AddItem(it->second.DescrSCat, it->second.CodSCat);
    }
}

bool PasswordStore::GetNodeExpanded(const QString &nodeKey) const
{
    return d->expanded.contains(nodeKey.toCaseFolded());
}

void PasswordStore::SetNodeExpanded(const QString &nodeKey, bool expanded)
{
    // Kept in the file, but not a change the user must be asked to save.
    if (expanded) {
        d->expanded.insert(nodeKey.toCaseFolded());
    } else {
        d->expanded.remove(nodeKey.toCaseFolded());
    }
}
