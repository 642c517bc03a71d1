// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/JpegPicture.h"

#include <QImage>

class QWidget;

// Decodes the JPEG at `path` and gives it at exactly `wanted(stored size)`:
// shrunk while decoding (see decodeJpegFile), enlarged smoothly after it.
// A picture that cannot be shown gives its German message in a box over
// `parent` and a null image.
QImage loadPicture(QWidget *parent, const QString &path, const Zestrola::WantedSize &wanted);

// The decoded pixels as an image that shares their memory.
QImage toImage(Zestrola::RgbPicture picture);
