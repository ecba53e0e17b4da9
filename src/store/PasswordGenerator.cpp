#include "PasswordGenerator.h"

#include <algorithm>
#include <cmath>
#include <QList>
#include <sodium.h>

namespace {

const QLatin1String Similar("0Oo1lI|");

QList<QString> classes(const GeneratorOptions &options)
{
    QList<QString> result{QStringLiteral("abcdefghijklmnopqrstuvwxyz"),
                          QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ")};
    if (options.digits) {
        result << QStringLiteral("0123456789");
    }
    if (options.symbols) {
        result << QStringLiteral("!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~");
    }
    if (options.excludeSimilar) {
        for (QString &chars : result) {
            chars.removeIf([](QChar c) { return Similar.contains(c); });
        }
    }
    return result;
}

int clampedLength(const GeneratorOptions &options)
{
    return std::clamp(options.length, GeneratorOptions::MinLength, GeneratorOptions::MaxLength);
}

} // namespace

QString generatorAlphabet(const GeneratorOptions &options)
{
    QString all;
    for (const QString &chars : classes(options)) {
        all += chars;
    }
    return all;
}

QString generatePassword(const GeneratorOptions &options)
{
    if (sodium_init() < 0) {
        return {};
    }
    const QList<QString> groups = classes(options);
    const QString all = generatorAlphabet(options);
    const int length = clampedLength(options);
    QString password(length, QChar());
    // Drawn again until every class is in: uniform over the passwords that
    // satisfy the rule, and with at least 4 characters a redraw is rare.
    for (;;) {
        for (QChar &c : password) {
            c = all.at(
                static_cast<qsizetype>(randombytes_uniform(static_cast<quint32>(all.size()))));
        }
        const bool complete = std::all_of(groups.cbegin(), groups.cend(), [&](const QString &g) {
            return std::any_of(password.cbegin(), password.cend(),
                               [&g](QChar c) { return g.contains(c); });
        });
        if (complete) {
            return password;
        }
    }
}

int estimatedBits(const GeneratorOptions &options)
{
    return static_cast<int>(
        std::floor(clampedLength(options) *
                   std::log2(static_cast<double>(generatorAlphabet(options).size()))));
}
