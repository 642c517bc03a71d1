// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace Zestrola {

// Captions of menus, buttons and labels mark their Alt key with "&". A text
// of the user's inside a caption (an entry name, a word) keeps its own "&"
// by doubling it; otherwise the "&" would vanish and underline the next
// letter.
inline QString literalCaptionText(QString text)
{
    return text.replace(u'&', QStringLiteral("&&"));
}

} // namespace Zestrola
