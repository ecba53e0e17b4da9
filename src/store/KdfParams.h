#pragma once

#include <QtGlobal>

// Argon2id cost of a protected file, stored in its header.
struct KdfParams
{
    quint32 opsLimit = 3;
    quint32 memLimitKiB = 256 * 1024;

    // libsodium's MODERATE: about half a second here; the default for users.
    static KdfParams Moderate() { return {3, 256 * 1024}; }
    static KdfParams Interactive() { return {2, 64 * 1024}; }
    // The cheapest Argon2id allows: for tests and benchmarks only.
    static KdfParams Minimum() { return {1, 8}; }
    // The most Vellumor writes or offers: libsodium's SENSITIVE (4 passes
    // over 1 GiB, about 3 s here). A file asking for more is refused before
    // any derivation, so a crafted header cannot make a reader spend minutes
    // or gigabytes.
    static constexpr quint32 MaxOps = 4;
    static constexpr quint32 MaxMemKiB = 1024U * 1024U;
    // At least Argon2id's minimum and at most the caps above.
    bool isValid() const { return isWellFormed() && isAffordable(); }
    bool isWellFormed() const;
    bool isAffordable() const { return opsLimit <= MaxOps && memLimitKiB <= MaxMemKiB; }

    friend bool operator==(const KdfParams &, const KdfParams &) = default;
};
