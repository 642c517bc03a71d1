#include "model/IntakeSheet.h"

#include <QRegularExpression>

namespace Zestrola {

QString singleLine(const QString &cellText)
{
    // "Kohlen-|hydrate" was one word split for the header's line break.
    static const QRegularExpression splitWord(QStringLiteral("-\\|(?=\\p{Ll})"));
    return QString(cellText).remove(splitWord).replace(u'|', u' ').simplified();
}

} // namespace Zestrola
