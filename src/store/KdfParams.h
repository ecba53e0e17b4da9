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
    // Files asking for more than this are refused, so a crafted header
    // cannot make us allocate or compute without bound.
    static constexpr quint32 MaxOps = 64;
    static constexpr quint32 MaxMemKiB = 4U * 1024U * 1024U;
    bool isValid() const;

    friend bool operator==(const KdfParams &, const KdfParams &) = default;
};
