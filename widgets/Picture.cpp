// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/Picture.h"

#include "widgets/MessageBox.h"

using namespace Zestrola;

QImage toImage(RgbPicture picture)
{
    if (picture.size.isEmpty())
        return {};
    auto *pixels = new QByteArray(std::move(picture.pixels));
    return QImage(
        reinterpret_cast<const uchar *>(pixels->constData()), picture.size.width(),
        picture.size.height(), picture.bytesPerLine, QImage::Format_RGB32,
        [](void *bytes) { delete static_cast<QByteArray *>(bytes); }, pixels);
}

QImage loadPicture(QWidget *parent, const QString &path, const WantedSize &wanted)
{
    JpegResult result = decodeJpegFile(path, wanted);
    if (!result.ok) {
        MessageBox::error(parent, result.errorMessage);
        return {};
    }
    // The decoder shrinks; a small picture wanted larger is enlarged here.
    const QSize target = wanted ? wanted(result.picture.sourceSize) : QSize();
    QImage image = toImage(std::move(result.picture));
    if (target.isEmpty() || image.size() == target)
        return image;
    return image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
