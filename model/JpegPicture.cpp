#include "model/JpegPicture.h"

#include <QFile>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <memory>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace Zestrola {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return.
// Ours jumps back to the decode call; warnings (a premature end of the
// data, a corrupt segment) jump back too, because they mean the picture is
// damaged and would be shown half grey.
struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void jumpBack(j_common_ptr info)
{
    auto *manager = reinterpret_cast<ErrorManager *>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

void onMessage(j_common_ptr info, int level)
{
    if (level < 0) // a warning: the data are damaged
        jumpBack(info);
}

// Everything the decode touches lives here, outside the frame that calls
// setjmp, so nothing with a destructor is skipped by the jump and no local
// value is left indeterminate by it.
struct DecodeJob
{
    jpeg_decompress_struct info {};
    ErrorManager errors {};
    const QByteArray *bytes = nullptr;
    const WantedSize *wanted = nullptr;
    JpegScale scale = JpegScale::Smallest;
    RgbPicture picture;
    bool tooLarge = false;
    bool created = false;
};

bool runDecode(DecodeJob &job)
{
    job.info.err = jpeg_std_error(&job.errors.base);
    job.errors.base.error_exit = jumpBack;
    job.errors.base.emit_message = onMessage;
    if (setjmp(job.errors.jump)) {
        if (job.created)
            jpeg_destroy_decompress(&job.info);
        return false;
    }
    jpeg_create_decompress(&job.info);
    job.created = true;
    jpeg_mem_src(&job.info, reinterpret_cast<const unsigned char *>(job.bytes->constData()),
        static_cast<unsigned long>(job.bytes->size()));
    jpeg_read_header(&job.info, TRUE);

    const QSize source(int(job.info.image_width), int(job.info.image_height));
    job.picture.sourceSize = source;
    if (qint64(source.width()) * source.height() > kMaxPicturePixels) {
        job.tooLarge = true;
        jpeg_destroy_decompress(&job.info);
        return false;
    }
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    job.info.out_color_space = JCS_EXT_BGRX;
#else
    job.info.out_color_space = JCS_EXT_XRGB;
#endif
    // The picture is shown scaled down: the cheaper chroma upsampling and
    // integer transform are not to be seen, but save a third of the time.
    // Block smoothing (of progressive files still loading) and colour
    // quantizing are off anyway; said here so that no default can slip in.
    job.info.do_fancy_upsampling = FALSE;
    job.info.do_block_smoothing = FALSE;
    job.info.quantize_colors = FALSE;
    job.info.dct_method = JDCT_IFAST;
    const QSize wanted = *job.wanted ? (*job.wanted)(source) : QSize();
    job.info.scale_num = unsigned(jpegScaleNumerator(source, wanted, job.scale));
    job.info.scale_denom = 8;
    jpeg_start_decompress(&job.info);

    const int width = int(job.info.output_width);
    const int height = int(job.info.output_height);
    const int stride = width * 4;
    job.picture.size = QSize(width, height);
    job.picture.bytesPerLine = stride;
    job.picture.pixels.resize(qsizetype(stride) * height);
    auto *data = reinterpret_cast<unsigned char *>(job.picture.pixels.data());
    // The decoder hands out as many rows as one call can give (a group of
    // rows of the subsampled colours), straight into the picture.
    constexpr int kRowsPerCall = 16;
    JSAMPROW rows[kRowsPerCall];
    while (job.info.output_scanline < job.info.output_height) {
        const int first = int(job.info.output_scanline);
        const int count = std::min(kRowsPerCall, height - first);
        for (int i = 0; i < count; ++i)
            rows[i] = data + qsizetype(first + i) * stride;
        jpeg_read_scanlines(&job.info, rows, JDIMENSION(count));
    }
    jpeg_finish_decompress(&job.info);
    jpeg_destroy_decompress(&job.info);
    return true;
}

QString damagedMessage(const QString &name, const char *detail)
{
    return QStringLiteral("Das Bild \"%1\" ist beschädigt und kann nicht angezeigt werden.\n(%2)")
        .arg(name, QString::fromLocal8Bit(detail));
}

} // namespace

int jpegScaleNumerator(QSize source, QSize atLeast, JpegScale scale)
{
    if (atLeast.isEmpty() || source.isEmpty())
        return 8;
    for (int numerator = 1; numerator < 8; ++numerator) {
        // libjpeg rounds the scaled size up.
        const qint64 width = (qint64(source.width()) * numerator + 7) / 8;
        const qint64 height = (qint64(source.height()) * numerator + 7) / 8;
        if (width >= atLeast.width() && height >= atLeast.height())
            return scale == JpegScale::Quickest && numerator == 3 ? 4 : numerator;
    }
    return 8;
}

JpegResult decodeJpeg(
    const QByteArray &bytes, const QString &name, const WantedSize &wanted, JpegScale scale)
{
    JpegResult result;
    auto job = std::make_unique<DecodeJob>();
    job->bytes = &bytes;
    job->wanted = &wanted;
    job->scale = scale;
    if (bytes.isEmpty()) {
        result.errorMessage = damagedMessage(name, "leere Datei");
    } else if (runDecode(*job)) {
        result.ok = true;
        result.picture = std::move(job->picture);
    } else if (job->tooLarge) {
        const QSize size = job->picture.sourceSize;
        result.errorMessage
            = QStringLiteral("Das Bild \"%1\" ist mit %2 × %3 Bildpunkten zu groß, um angezeigt "
                             "zu werden (höchstens %4 Millionen Bildpunkte).")
                  .arg(name)
                  .arg(size.width())
                  .arg(size.height())
                  .arg(kMaxPicturePixels / 1'000'000);
    } else {
        result.errorMessage = damagedMessage(name, job->errors.message);
    }
    return result;
}

JpegResult decodeJpegFile(const QString &path, const WantedSize &wanted, JpegScale scale)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        JpegResult result;
        result.errorMessage = QStringLiteral("Das Bild \"%1\" kann nicht gelesen werden:\n%2")
                                  .arg(path, file.errorString());
        return result;
    }
    // One read of the whole file: the decoder then works from memory.
    return decodeJpeg(file.readAll(), path, wanted, scale);
}

} // namespace Zestrola
