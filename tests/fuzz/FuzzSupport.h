// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the fuzz targets: a finding is a crash, a sanitizer report or a
// property that does not hold, which aborts with the property's text.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(                                                                          \
                stderr, "property does not hold: %s (%s:%d)\n", #condition, __FILE__, __LINE__);   \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace FuzzSupport {

inline QByteArrayView bytesOf(const uint8_t *data, size_t size)
{
    return QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size));
}

// The input as text the way a user could have typed it: UTF-8 decoded, so
// that every Unicode character (and U+FFFD for broken bytes) can occur.
inline QString textOf(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(bytesOf(data, size));
}

} // namespace FuzzSupport
