#pragma once

#include "Records.h"

#include <QString>
#include <vector>

class PasswordStore;

namespace bench {

// A small deterministic generator: the same seed yields the same records with
// every compiler and standard library, unlike the std distributions.
class SplitMix64
{
public:
    explicit SplitMix64(quint64 seed) : m_state(seed) {}
    quint64 next()
    {
        m_state += 0x9E3779B97F4A7C15ULL;
        quint64 z = m_state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Uniform enough in [0, n) for test data; n must be positive.
    int below(int n) { return static_cast<int>(next() % static_cast<quint64>(n)); }
    // Inclusive range.
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool percent(int p) { return below(100) < p; }

private:
    quint64 m_state;
};

constexpr quint64 DefaultSeed = 20240611;

// Generated records in the order they were made; codes are the generator's own,
// numbered from 1, and 0 means none.
struct Dataset
{
    std::vector<Category> categories;
    std::vector<SubCategory> subcategories;
    std::vector<PasswordEntry> passwords;
};

// How the second file of a merge relates to the first: a tenth of its services
// also exist in the first, half of those unchanged and half with a new password.
struct MergeSplit
{
    int identical = 0;
    int changed = 0;
    int fresh = 0;
};
MergeSplit mergeSplit(int count);

// count records as a user collects them over years: about count/100 categories
// with 0 to 5 subcategories each, some records outside any category or subcategory.
Dataset generateBase(int count, quint64 seed = DefaultSeed);

// A second file of count records for merging into base, split as mergeSplit(count)
// says; it has base's categories plus a few of its own.
Dataset generateOther(const Dataset &base, int count, quint64 seed = DefaultSeed + 1);

// Fills a new file in store through its public operations, so the store assigns
// its own codes; the records are mapped onto them.
bool populate(PasswordStore &store, const Dataset &content, QString &error);

} // namespace bench
