#pragma once

#include "Expiration.h"
#include "PasswordStore.h"

#include <QStringList>
#include <vector>

// Standard output and error, UTF-8, one line per call.
void printLine(const QString &line);
void printLines(const QStringList &lines);
void printError(const QString &line);
// False when anything written to standard output was lost (a full disk, a closed pipe).
bool flushOutput();

// A value as one line: backslash, carriage return and line feed escaped, so
// multi-line notes cannot break the one-line-per-item output scripts read.
QString oneLine(const QString &text);

// "Name: value" lines of every field; the password masked unless showPassword.
QStringList recordLines(const PasswordStore &store, const PasswordEntry &e, bool showPassword);
// Categories, their subcategories and the services under them, indented, with counts.
QStringList treeLines(const PasswordStore &store);
// service, yyyy-MM-dd and message, tab-separated.
QStringList dueLines(const std::vector<DueItem> &items);
