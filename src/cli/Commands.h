#pragma once

#include "CommandLine.h"

#include <optional>
#include <span>

struct GeneratorOptions;

// The commands, one function each; the first argument is always FILE.
// They return the exit status or throw a CliError.
int runCreate(const Invocation &inv);
int runLs(const Invocation &inv);
int runCheck(const Invocation &inv);
int runPasswd(const Invocation &inv);
int runImport(const Invocation &inv);
int runMerge(const Invocation &inv);
int runExport(const Invocation &inv);
int runShow(const Invocation &inv);
int runAdd(const Invocation &inv);
int runEdit(const Invocation &inv);
int runRm(const Invocation &inv);
int runMv(const Invocation &inv);
int runCategory(const Invocation &inv);
int runSubcategory(const Invocation &inv);
int runGenerate(const Invocation &inv);
int runSearch(const Invocation &inv);
int runClip(const Invocation &inv);

// --length, --no-digits, --no-symbols and --exclude-similar; throws UsageError.
GeneratorOptions generatorOptions(const Invocation &inv);
// A new password when --generate is given (add, edit); nothing otherwise.
std::optional<QString> generatedPassword(const Invocation &inv);

std::span<const CommandEntry> commandTable();
const CommandEntry *findCommand(const QString &name);
