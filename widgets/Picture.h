#pragma once

#include "model/JpegPicture.h"

#include <QImage>

class QWidget;

// Decodes the JPEG at `path` and scales it smoothly to exactly
// `wanted(stored size)`; a large photo is decoded at a reduced scale
// (JpegScale::Quickest), never at full size when less is wanted. A picture that
// cannot be shown gives its German message in a box over `parent` and a
// null image.
QImage loadPicture(QWidget *parent, const QString &path, const Zestrola::WantedSize &wanted);

// The decoded pixels as an image that shares their memory.
QImage toImage(Zestrola::RgbPicture picture);
