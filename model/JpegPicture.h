#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <functional>

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

// How the decoder's scale (in eighths) is chosen for a wanted size:
// - Smallest: the smallest scale that still covers the wanted size;
// - Quickest: the same, except that 3/8 becomes 4/8. libjpeg-turbo has
//   vector code for the 1/8, 2/8, 4/8 and 8/8 transforms only; at 4/8 a
//   photo decodes faster than at 3/8, and the smoothing down to the wanted
//   size, which follows anyway, then starts from more detail.
enum class JpegScale { Smallest, Quickest };

// Decodes the JPEG file at `path`. The decoder scales while it decodes (in
// steps of 1/8), so a large photo is never held at full size when a smaller
// one is wanted: the result is the smallest such size that still covers
// `wanted` in both directions, or the full size when `wanted` gives an empty
// size or one larger than the picture. A damaged or truncated file, a picture beyond
// kMaxPicturePixels and an unreadable file all give !ok and a message; the
// decoder never ends the program.
JpegResult decodeJpegFile(
    const QString &path, const WantedSize &wanted = {}, JpegScale scale = JpegScale::Smallest);

// The same on bytes already in memory; `name` is used in messages.
JpegResult decodeJpeg(const QByteArray &bytes, const QString &name, const WantedSize &wanted = {},
    JpegScale scale = JpegScale::Smallest);

// The scale numerator (of 8) that decodes `source` to at least `atLeast`.
int jpegScaleNumerator(QSize source, QSize atLeast, JpegScale scale = JpegScale::Smallest);

} // namespace Zestrola
