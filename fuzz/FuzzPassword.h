#pragma once

#include <QString>

// The password of the protected seed files, and the one the fuzz target tries,
// so mutations of those seeds get past the key check.
inline QString fuzzPassword()
{
    return QStringLiteral("fuzz password");
}
