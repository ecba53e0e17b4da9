#include "RecordGenerator.h"

#include "PasswordStore.h"

#include <array>
#include <QHash>

namespace bench {

namespace {

const std::array<const char *, 24> CategoryWords = {
    "Shopping",  "Banking",   "Work",   "Social",    "E-mail",   "Travel",   "Games",   "Utilities",
    "Health",    "Education", "Public", "Streaming", "Forums",   "Software", "Hosting", "Finance",
    "Insurance", "Family",    "Cloud",  "News",      "Hardware", "Clubs",    "Mobile",  "Home"};

const std::array<const char *, 10> SubCategoryWords = {
    "Personal", "Work",    "Family",   "Old accounts", "Shared",
    "Archive",  "Clients", "Projects", "Trial",        "Kids"};

const std::array<const char *, 20> ServicePrefixes = {
    "shop",  "mail", "bank", "forum", "cloud", "news",   "games",  "travel", "photo",  "music",
    "video", "dev",  "git",  "wiki",  "chat",  "social", "health", "insure", "school", "tax"};

const std::array<const char *, 4> Domains = {"example.com", "example.org", "example.net",
                                             "test.example"};

const std::array<const char *, 20> FirstNames = {
    "anna", "marco", "julia", "peter", "sofia", "liam",  "emma", "noah", "mia",  "lucas",
    "ella", "oskar", "nora",  "ivan",  "lea",   "tomas", "zoe",  "adam", "ines", "felix"};

const std::array<const char *, 20> LastNames = {
    "rossi",  "smith",  "novak",  "garcia", "muller",  "berg",     "kowalski",
    "silva",  "martin", "larsen", "moreau", "fischer", "costa",    "jansen",
    "horvat", "nagy",   "weber",  "dubois", "keller",  "lindqvist"};

const std::array<const char *, 6> MailHosts = {"mail.example.net",    "post.example.org",
                                               "inbox.example.com",   "example.com",
                                               "webmail.example.net", "office.example.org"};

const std::array<const char *, 5> LoginPaths = {"/login", "/account", "/", "/signin",
                                                "/user/profile"};

const std::array<const char *, 24> NoteWords = {
    "recovery", "codes",  "stored",  "in",    "the",        "safe",    "security", "question:",
    "first",    "pet",    "renewal", "every", "year",       "shared",  "with",     "family",
    "account",  "number", "support", "phone", "two-factor", "enabled", "old",      "address"};

constexpr char PasswordChars[] = "abcdefghijkmnopqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ"
                                 "23456789!#$%&*+-=?@^_~";

template <std::size_t N> QString pick(SplitMix64 &rng, const std::array<const char *, N> &words)
{
    return QLatin1String(words[static_cast<std::size_t>(rng.below(static_cast<int>(N)))]);
}

QString wordName(const char *word, int round)
{
    const QString base = QLatin1String(word);
    return round == 0 ? base : base + QLatin1Char(' ') + QString::number(round + 1);
}

QString userName(SplitMix64 &rng)
{
    const QString first = pick(rng, FirstNames);
    const QString last = pick(rng, LastNames);
    const int kind = rng.below(10);
    if (kind < 5) {
        return first + QLatin1Char('.') + last + QString::number(rng.below(100)) +
               QLatin1Char('@') + pick(rng, MailHosts);
    }
    if (kind < 8) {
        return first + QLatin1Char('.') + last;
    }
    return first.left(1) + last + QString::number(rng.between(1960, 2010));
}

QString password(SplitMix64 &rng)
{
    constexpr int Alphabet = static_cast<int>(sizeof(PasswordChars) - 1);
    const int length = rng.between(16, 24);
    QString out;
    out.reserve(length);
    for (int i = 0; i < length; ++i) {
        out += QLatin1Char(PasswordChars[rng.below(Alphabet)]);
    }
    return out;
}

QString notes(SplitMix64 &rng)
{
    const int length = rng.between(20, 200);
    QString out;
    while (out.size() < length) {
        if (!out.isEmpty()) {
            out += QLatin1Char(' ');
        }
        out += pick(rng, NoteWords);
    }
    out.truncate(length);
    return out.trimmed();
}

QDateTime stamp(const QDate &day, SplitMix64 &rng)
{
    return QDateTime(day, QTime(rng.below(24), rng.below(60), rng.below(60)));
}

// One record named after index, placed somewhere in tree.
PasswordEntry makeRecord(SplitMix64 &rng, int index, const Dataset &tree)
{
    PasswordEntry e;
    e.service = pick(rng, ServicePrefixes) + QLatin1Char('-') + QString::number(index) +
                QLatin1Char('.') + pick(rng, Domains);
    if (!tree.categories.empty() && !rng.percent(8)) {
        const auto &category =
            tree.categories[static_cast<std::size_t>(rng.below(int(tree.categories.size())))];
        e.codcat = category.codcat;
        if (rng.percent(75)) {
            std::vector<qint16> subs;
            for (const SubCategory &s : tree.subcategories) {
                if (s.codcat == e.codcat) {
                    subs.push_back(s.CodSCat);
                }
            }
            if (!subs.empty()) {
                e.CodSCat = subs[static_cast<std::size_t>(rng.below(int(subs.size())))];
            }
        }
    }
    e.UserName = userName(rng);
    e.Password = password(rng);
    if (rng.percent(30)) {
        e.Notes = notes(rng);
    }
    if (rng.percent(90)) {
        e.URL = QStringLiteral("https://") + e.service + pick(rng, LoginPaths);
    }
    if (rng.percent(10)) {
        e.ChangeURL = QStringLiteral("https://") + e.service + QStringLiteral("/password");
    }
    if (rng.percent(3)) {
        e.ExpURL = QStringLiteral("https://") + e.service + QStringLiteral("/close-account");
    }
    const QDate inserted = QDate(2015, 1, 1).addDays(rng.below(3650));
    e.Dt_Insert = stamp(inserted, rng);
    e.Dt_Modify = stamp(inserted.addDays(rng.below(900)), rng);
    if (rng.percent(40)) {
        const int kind = rng.below(3); // expiration, change, or both
        if (kind != 1) {
            e.blExpire = true;
            e.Dt_Expire = QDate(2026, 1, 1).addDays(rng.below(730));
            e.blNotExpire = rng.percent(50);
            e.ggNotExpire = e.blNotExpire ? qint16(rng.between(7, 30)) : qint16(0);
        }
        if (kind != 0) {
            e.blChange = true;
            e.Dt_Change = QDate(2026, 1, 1).addDays(rng.below(365));
            e.blNotChange = rng.percent(50);
            e.ggNotChange = e.blNotChange ? qint16(rng.between(7, 30)) : qint16(0);
        }
    }
    return e;
}

void addTree(Dataset &content, SplitMix64 &rng, int categories, int firstRound)
{
    auto nextSub = static_cast<qint16>(content.subcategories.size() + 1);
    for (int i = 0; i < categories; ++i) {
        const auto word = static_cast<std::size_t>(i) % CategoryWords.size();
        const int round = firstRound + i / static_cast<int>(CategoryWords.size());
        const auto code = static_cast<qint16>(content.categories.size() + 1);
        content.categories.push_back({code, wordName(CategoryWords[word], round)});
        // Consecutive words from a random start: distinct names within a category.
        const int subs = rng.between(0, 5);
        const int start = rng.below(static_cast<int>(SubCategoryWords.size()));
        for (int s = 0; s < subs; ++s) {
            const auto w = static_cast<std::size_t>(start + s) % SubCategoryWords.size();
            content.subcategories.push_back({code, nextSub++, QLatin1String(SubCategoryWords[w])});
        }
    }
}

} // namespace

MergeSplit mergeSplit(int count)
{
    const int overlap = count / 10;
    return {overlap / 2, overlap - overlap / 2, count - overlap};
}

Dataset generateBase(int count, quint64 seed)
{
    SplitMix64 rng(seed ^ static_cast<quint64>(count));
    Dataset content;
    addTree(content, rng, std::max(1, count / 100), 0);
    content.passwords.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        content.passwords.push_back(makeRecord(rng, i, content));
    }
    return content;
}

Dataset generateOther(const Dataset &base, int count, quint64 seed)
{
    SplitMix64 rng(seed ^ static_cast<quint64>(count));
    Dataset content;
    content.categories = base.categories;
    content.subcategories = base.subcategories;
    // A few categories the first file lacks; their names continue base's numbering.
    const int baseRounds = static_cast<int>((base.categories.size() + CategoryWords.size() - 1) /
                                            CategoryWords.size());
    addTree(content, rng, std::max(1, count / 1000), baseRounds);

    const MergeSplit split = mergeSplit(count);
    const int overlap = split.identical + split.changed;
    const auto baseSize = static_cast<qint64>(base.passwords.size());
    content.passwords.reserve(static_cast<std::size_t>(count));
    for (int k = 0; k < overlap && baseSize > 0; ++k) {
        // Spread over the whole first file rather than its first records.
        PasswordEntry e = base.passwords[static_cast<std::size_t>(k * baseSize / overlap)];
        if (k >= split.identical) {
            e.Password = password(rng);
            e.Dt_Modify = e.Dt_Modify.addDays(rng.between(1, 60));
        }
        content.passwords.push_back(std::move(e));
    }
    // Service indexes past base's own, so these are new there.
    const int firstFresh = static_cast<int>(baseSize);
    for (int i = 0; i < split.fresh; ++i) {
        content.passwords.push_back(makeRecord(rng, firstFresh + i, content));
    }
    return content;
}

bool populate(PasswordStore &store, const Dataset &content, QString &error)
{
    if (!store.NewFile()) {
        error = store.LastError();
        return false;
    }
    QHash<qint16, qint16> categoryCodes;
    for (const Category &c : content.categories) {
        const Category *added =
            store.AddCategory(c.DescrCat) ? store.Categories().Item(c.DescrCat) : nullptr;
        if (added == nullptr) {
            error = QStringLiteral("category %1: %2").arg(c.DescrCat, store.LastError());
            return false;
        }
        categoryCodes.insert(c.codcat, added->codcat);
    }
    QHash<qint16, qint16> subcategoryCodes;
    for (const SubCategory &s : content.subcategories) {
        const qint16 parent = categoryCodes.value(s.codcat);
        const QString key = QString::number(parent) + QLatin1Char('!') + s.DescrSCat;
        const SubCategory *added =
            store.AddSubCategory(parent, s.DescrSCat) ? store.SubCategories().Item(key) : nullptr;
        if (added == nullptr) {
            error = QStringLiteral("subcategory %1: %2").arg(s.DescrSCat, store.LastError());
            return false;
        }
        subcategoryCodes.insert(s.CodSCat, added->CodSCat);
    }
    for (PasswordEntry e : content.passwords) {
        // Code 0 (none) is in neither map and stays 0.
        e.codcat = categoryCodes.value(e.codcat);
        e.CodSCat = subcategoryCodes.value(e.CodSCat);
        if (!store.AddPassword(e)) {
            error = QStringLiteral("record %1: %2").arg(e.service, store.LastError());
            return false;
        }
    }
    return true;
}

} // namespace bench
