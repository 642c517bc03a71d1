// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/FileStamp.h"

class QWidget;

// Before a file that the program read is written back: when another
// program changed or removed it since (`stamp`), the user is asked whether
// to overwrite it or to write it anew. True when it may be written.
bool mayOverwriteChangedFile(
    QWidget *parent, const QString &path, const Zestrola::FileStamp &stamp);
