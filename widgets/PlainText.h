// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTextBlockFormat>

class QTextDocument;

// Plain text into a text box and back without a character changed.
// QTextDocument's own plain text turns non-breaking spaces into blanks and
// both Unicode separators (U+2028, U+2029) into line breaks; here the box
// shows U+2029 as a line break too, but gives it back as it was.
// Lines are separated by LF. Every line takes `format` as it is made, which
// for a long text is far quicker than changing the lines' format after.
void setPlainTextKeeping(
    QTextDocument *document, const QString &text, const QTextBlockFormat &format = {});
QString plainTextKeeping(const QTextDocument *document);
