// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <functional>

class QIODevice;

namespace Zestrola {

// Pictures with more pixels than this are refused before any decoding: a
// photo of an entry has no business being larger, and a forged header must
// not make the program allocate gigabytes.
inline constexpr qint64 kMaxPicturePixels = 100'000'000;

// A decoded JPEG as rows of 32-bit pixels 0xffRRGGBB in the machine's byte
// order: QImage's Format_RGB32, which Qt scales and paints without a
// conversion.
struct RgbPicture
{
    QSize size; // of the decoded pixels
    QSize sourceSize; // of the picture as stored
    int bytesPerLine = 0;
    QByteArray pixels;
};

struct JpegResult
{
    bool ok = false;
    RgbPicture picture;
    QString errorMessage; // German, names the file; set when !ok
};

// The size a picture is wanted at, given its stored size; empty for full size.
using WantedSize = std::function<QSize(QSize source)>;

// Decodes the JPEG file at `path` at exactly `wanted(stored size)`, or at
// full size when that is empty or larger than the picture in either
// direction. A large photo is never held at full size when a smaller one is
// wanted: the decoder scales while it decodes (in steps of 1/8), and each
// few rows it gives are shrunk to the wanted size at once. A damaged or
// truncated file, a picture beyond kMaxPicturePixels and an unreadable file
// all give !ok and a message; the decoder never ends the program.
JpegResult decodeJpegFile(const QString &path, const WantedSize &wanted = {});

// The same on a device open for reading, or on bytes in memory; `name` is
// used in messages.
JpegResult decodeJpeg(QIODevice &device, const QString &name, const WantedSize &wanted = {});
JpegResult decodeJpeg(const QByteArray &bytes, const QString &name, const WantedSize &wanted = {});

// The decoder's scale (in eighths) for a picture wanted at `atLeast`: the
// smallest that still covers it, except that 3/8 becomes 4/8, because
// libjpeg-turbo has vector code for the 1/8, 2/8, 4/8 and 8/8 transforms only
// and decodes a photo at 4/8 faster than at 3/8.
int jpegScaleNumerator(QSize source, QSize atLeast);

} // namespace Zestrola
