// generate, and the generator options add and edit share with it.
#include "CliError.h"
#include "Commands.h"
#include "Output.h"
#include "PasswordGenerator.h"
#include "SecureBytes.h"

#include <array>

namespace {

const QLatin1String LengthOption("--length");

} // namespace

GeneratorOptions generatorOptions(const Invocation &inv)
{
    GeneratorOptions options;
    if (const auto text = inv.value(LengthOption)) {
        options.length =
            static_cast<int>(parseNumber(LengthOption, *text, GeneratorOptions::MaxLength));
        if (options.length < GeneratorOptions::MinLength) {
            throw UsageError(QStringLiteral("%1: at least %2 characters")
                                 .arg(LengthOption)
                                 .arg(GeneratorOptions::MinLength));
        }
    }
    options.digits = !inv.has(QLatin1String("--no-digits"));
    options.symbols = !inv.has(QLatin1String("--no-symbols"));
    options.excludeSimilar = inv.has(QLatin1String("--exclude-similar"));
    return options;
}

std::optional<QString> generatedPassword(const Invocation &inv)
{
    if (!inv.has(QLatin1String("--generate"))) {
        constexpr std::array<const char *, 4> shaping{"--length", "--no-digits", "--no-symbols",
                                                      "--exclude-similar"};
        for (const char *option : shaping) {
            if (inv.has(QLatin1String(option))) {
                throw UsageError(QStringLiteral("%1 needs --generate").arg(QLatin1String(option)));
            }
        }
        return std::nullopt;
    }
    if (inv.has(QLatin1String("-p"))) {
        throw UsageError(QStringLiteral("-p and --generate exclude each other"));
    }
    return generatePassword(generatorOptions(inv));
}

int runGenerate(const Invocation &inv)
{
    const GeneratorOptions options = generatorOptions(inv);
    QString password = generatePassword(options);
    printLine(password);
    wipeText(password);
    // On standard error, so that $(vellumor-cli generate) is the password alone.
    printError(QStringLiteral("estimated strength: %1 bits").arg(estimatedBits(options)));
    return 0;
}
