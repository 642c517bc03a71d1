// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/JpegPicture.h"

#include "model/AreaShrink.h"
#include "model/FileError.h"

#include <QBuffer>
#include <QFile>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>
// jpeglib.h needs size_t and FILE declared before it,
#include <jpeglib.h>
// and jerror.h the types of jpeglib.h.
#include <jerror.h>

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

// The decoder reads the file in pieces through this source, so that a
// photo of several megabytes is never held whole in memory.
struct DeviceSource
{
    jpeg_source_mgr base;
    QIODevice *device = nullptr;
    bool readFailed = false;
    JOCTET buffer[64 * 1024];
};

void startSource(j_decompress_ptr) { }

boolean fillSource(j_decompress_ptr info)
{
    auto *source = reinterpret_cast<DeviceSource *>(info->src);
    const qint64 count
        = source->device->read(reinterpret_cast<char *>(source->buffer), sizeof source->buffer);
    if (count < 0) {
        source->readFailed = true;
        ERREXIT(info, JERR_INPUT_EOF);
    }
    if (count == 0) {
        // A premature end. The warning jumps back; should it not, libjpeg
        // expects an end marker to finish on.
        WARNMS(info, JWRN_JPEG_EOF);
        static const JOCTET endMarker[] = { 0xFF, JPEG_EOI };
        source->base.next_input_byte = endMarker;
        source->base.bytes_in_buffer = sizeof endMarker;
        return TRUE;
    }
    source->base.next_input_byte = source->buffer;
    source->base.bytes_in_buffer = size_t(count);
    return TRUE;
}

void skipSource(j_decompress_ptr info, long count)
{
    jpeg_source_mgr *source = info->src;
    while (count > long(source->bytes_in_buffer)) {
        count -= long(source->bytes_in_buffer);
        (*source->fill_input_buffer)(info);
    }
    if (count > 0) {
        source->next_input_byte += count;
        source->bytes_in_buffer -= size_t(count);
    }
}

void endSource(j_decompress_ptr) { }

// Everything the decode touches lives here, outside the frame that calls
// setjmp, so nothing with a destructor is skipped by the jump and no local
// value is left indeterminate by it.
struct DecodeJob
{
    jpeg_decompress_struct info {};
    ErrorManager errors {};
    DeviceSource source {};
    const WantedSize *wanted = nullptr;
    RgbPicture picture;
    std::vector<quint32> rows; // decoded rows on their way to the shrinker
    std::optional<AreaShrinker> shrinker;
    bool cmyk = false;
    bool tooLarge = false;
    bool created = false;
};

// The device is set by the caller; libjpeg calls these to read from it.
void attachSource(DecodeJob &job)
{
    job.source.base.init_source = startSource;
    job.source.base.fill_input_buffer = fillSource;
    job.source.base.skip_input_data = skipSource;
    job.source.base.resync_to_restart = jpeg_resync_to_restart;
    job.source.base.term_source = endSource;
    job.info.src = &job.source.base;
}

// The decoder hands out as many rows as one call can give (a group of rows
// of the subsampled colours).
constexpr int kRowsPerCall = 16;

// Print shops' pictures come in CMYK, stored inverted as Adobe's programs
// write them; libjpeg gives the four inks, turned here into light.
void cmykToRgb(JSAMPROW row, JDIMENSION width)
{
    auto *pixel = reinterpret_cast<quint32 *>(row);
    for (JDIMENSION x = 0; x < width; ++x, row += 4) {
        const quint32 k = row[3];
        pixel[x]
            = 0xff000000u | (row[0] * k / 255) << 16 | (row[1] * k / 255) << 8 | (row[2] * k / 255);
    }
}

JDIMENSION readScanlines(DecodeJob &job, JSAMPROW *rows, int count)
{
    const JDIMENSION read = jpeg_read_scanlines(&job.info, rows, JDIMENSION(count));
    if (job.cmyk)
        for (JDIMENSION i = 0; i < read; ++i)
            cmykToRgb(rows[i], job.info.output_width);
    return read;
}

// Rows go straight into the picture when it is wanted at the decoded size.
void readRowsInPlace(DecodeJob &job)
{
    const int height = job.picture.size.height();
    const int stride = job.picture.bytesPerLine;
    auto *data = reinterpret_cast<unsigned char *>(job.picture.pixels.data());
    JSAMPROW rows[kRowsPerCall];
    while (job.info.output_scanline < job.info.output_height) {
        const int first = int(job.info.output_scanline);
        const int count = std::min(kRowsPerCall, height - first);
        for (int i = 0; i < count; ++i)
            rows[i] = data + qsizetype(first + i) * stride;
        readScanlines(job, rows, count);
    }
}

// Otherwise a few rows at a time are decoded and shrunk.
void readRowsShrinking(DecodeJob &job, QSize decoded)
{
    job.rows.resize(size_t(kRowsPerCall) * size_t(decoded.width()));
    job.shrinker.emplace(decoded, job.picture.size,
        reinterpret_cast<uchar *>(job.picture.pixels.data()), job.picture.bytesPerLine);
    JSAMPROW rows[kRowsPerCall];
    for (int i = 0; i < kRowsPerCall; ++i)
        rows[i] = reinterpret_cast<JSAMPROW>(job.rows.data() + size_t(i) * size_t(decoded.width()));
    while (job.info.output_scanline < job.info.output_height) {
        const JDIMENSION read = readScanlines(job, rows, kRowsPerCall);
        for (JDIMENSION i = 0; i < read; ++i)
            job.shrinker->addRow(job.rows.data() + size_t(i) * size_t(decoded.width()));
    }
}

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
    attachSource(job);
    jpeg_read_header(&job.info, TRUE);

    const QSize source(int(job.info.image_width), int(job.info.image_height));
    job.picture.sourceSize = source;
    if (qint64(source.width()) * source.height() > kMaxPicturePixels) {
        job.tooLarge = true;
        jpeg_destroy_decompress(&job.info);
        return false;
    }
    job.cmyk = job.info.jpeg_color_space == JCS_CMYK || job.info.jpeg_color_space == JCS_YCCK;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    job.info.out_color_space = job.cmyk ? JCS_CMYK : JCS_EXT_BGRX;
#else
    job.info.out_color_space = job.cmyk ? JCS_CMYK : JCS_EXT_XRGB;
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
    job.info.scale_num = unsigned(jpegScaleNumerator(source, wanted));
    job.info.scale_denom = 8;
    jpeg_start_decompress(&job.info);

    const QSize decoded(int(job.info.output_width), int(job.info.output_height));
    const bool shrink = !wanted.isEmpty() && wanted != decoded && wanted.width() <= decoded.width()
        && wanted.height() <= decoded.height();
    job.picture.size = shrink ? wanted : decoded;
    job.picture.bytesPerLine = job.picture.size.width() * 4;
    job.picture.pixels.resize(qsizetype(job.picture.bytesPerLine) * job.picture.size.height());
    if (shrink)
        readRowsShrinking(job, decoded);
    else
        readRowsInPlace(job);
    jpeg_finish_decompress(&job.info);
    jpeg_destroy_decompress(&job.info);
    return true;
}

QString unreadableMessage(const QString &name, const QString &reason)
{
    return QStringLiteral("Das Bild \"%1\" kann nicht gelesen werden:\n%2").arg(name, reason);
}

QString damagedMessage(const QString &name, const char *detail)
{
    return QStringLiteral("Das Bild \"%1\" ist beschädigt und kann nicht angezeigt werden.\n(%2)")
        .arg(name, QString::fromLocal8Bit(detail));
}

} // namespace

int jpegScaleNumerator(QSize source, QSize atLeast)
{
    if (atLeast.isEmpty() || source.isEmpty())
        return 8;
    for (int numerator = 1; numerator < 8; ++numerator) {
        // libjpeg rounds the scaled size up.
        const qint64 width = (qint64(source.width()) * numerator + 7) / 8;
        const qint64 height = (qint64(source.height()) * numerator + 7) / 8;
        if (width >= atLeast.width() && height >= atLeast.height())
            return numerator == 3 ? 4 : numerator;
    }
    return 8;
}

JpegResult decodeJpeg(QIODevice &device, const QString &name, const WantedSize &wanted)
{
    JpegResult result;
    auto job = std::make_unique<DecodeJob>();
    job->source.device = &device;
    job->wanted = &wanted;
    if (!device.isSequential() && device.size() == 0) {
        result.errorMessage = damagedMessage(name, "leere Datei");
    } else if (runDecode(*job)) {
        result.ok = true;
        result.picture = std::move(job->picture);
    } else if (job->source.readFailed) {
        const auto *file = qobject_cast<const QFileDevice *>(&device);
        result.errorMessage
            = unreadableMessage(name, file ? fileErrorReason(*file) : device.errorString());
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

JpegResult decodeJpeg(const QByteArray &bytes, const QString &name, const WantedSize &wanted)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return decodeJpeg(buffer, name, wanted);
}

JpegResult decodeJpegFile(const QString &path, const WantedSize &wanted)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        JpegResult result;
        const QString reason = unreadableFileReason(path);
        result.errorMessage
            = unreadableMessage(path, reason.isEmpty() ? fileErrorReason(file) : reason);
        return result;
    }
    return decodeJpeg(file, path, wanted);
}

} // namespace Zestrola
