// SPDX-License-Identifier: GPL-3.0-or-later
// The JPEG decoder.
//
// The first two bytes give the size the picture is wanted at (0: full
// size), the rest is the file. Properties, for any bytes: the decoder
// returns (libjpeg's errors and warnings jump back into it, never past it);
// a failure has a message that names the file; a success has the wanted
// size, or the full size when less is not wanted, within the pixel limit,
// and pixels for every row, each of them opaque.

#include "FuzzSupport.h"
#include "model/JpegPicture.h"

using namespace Zestrola;

namespace {

void checkPicture(const RgbPicture &picture, QSize wanted)
{
    const QSize source = picture.sourceSize;
    FUZZ_CHECK(!source.isEmpty());
    FUZZ_CHECK(qint64(source.width()) * source.height() <= kMaxPicturePixels);
    const bool fits = !wanted.isEmpty() && wanted.width() <= source.width()
        && wanted.height() <= source.height();
    FUZZ_CHECK(picture.size == (fits ? wanted : source));
    FUZZ_CHECK(picture.bytesPerLine == picture.size.width() * 4);
    FUZZ_CHECK(picture.pixels.size() == qsizetype(picture.bytesPerLine) * picture.size.height());
    const auto *pixels = reinterpret_cast<const uint32_t *>(picture.pixels.constData());
    for (qsizetype i = 0; i < picture.pixels.size() / 4; ++i)
        FUZZ_CHECK((pixels[i] >> 24) == 0xff);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const QSize wanted(data[0], data[1]);
    const QByteArray bytes(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));
    const QString name = QStringLiteral("Käse/Gouda.jpg");
    const JpegResult result = decodeJpeg(bytes, name, [wanted](QSize) { return wanted; });
    if (!result.ok) {
        FUZZ_CHECK(result.errorMessage.contains(u'"' + name + u'"'));
        FUZZ_CHECK(result.picture.pixels.isEmpty());
        return 0;
    }
    FUZZ_CHECK(result.errorMessage.isEmpty());
    checkPicture(result.picture, wanted);
    return 0;
}
