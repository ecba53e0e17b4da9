#pragma once

#include <QString>

// Random passwords for new records, shared by the record dialog and vellumor-cli.
// Letters of both cases are always drawn; digits and symbols on request.
struct GeneratorOptions
{
    static constexpr int MinLength = 4;
    static constexpr int MaxLength = 128;

    int length = 20;
    bool digits = true;
    bool symbols = true;
    bool excludeSimilar = false; // no 0 O o 1 l I | (hard to tell apart when copied by hand)
};

// The characters a password may be drawn from, classes in a fixed order.
QString generatorAlphabet(const GeneratorOptions &options);
// A password of options.length characters (clamped to the allowed range),
// with at least one character of every class asked for. Each character is
// drawn with libsodium's randombytes_uniform.
QString generatePassword(const GeneratorOptions &options);
// The strength of such a password in bits: length times log2 of the alphabet,
// which the at-least-one-per-class rule lowers by less than a bit.
int estimatedBits(const GeneratorOptions &options);
