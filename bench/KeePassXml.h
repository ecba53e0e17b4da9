#pragma once

#include "RecordGenerator.h"

#include <QString>

namespace bench {

// Writes content as a KeePass 2 XML export, the form keepassxc-cli imports,
// with the interchange library's writer: categories and subcategories become
// groups, records entries in them, records without category entries of the
// root group. UUIDs are derived from names, so the same content always gives
// the same file.
bool writeKeePassXml(const Dataset &content, const QString &path, QString &error);

} // namespace bench
