// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/CalcDialogs.h"

#include "widgets/FileDialog.h"
#include "widgets/MessageBox.h"

#include <QFileInfo>

namespace Zestrola {

QString askExportPath(QWidget *window, const QString &caption, const QString &folder,
    const QString &baseName, const QString &extension, const QString &filter)
{
    QString path = FileDialog::getSaveFileName(
        window, caption, folder + u'/' + baseName + u'.' + extension, filter);
    if (path.isEmpty())
        return {};
    if (QFileInfo(path).suffix().isEmpty())
        path += u'.' + extension;
    if (QFileInfo::exists(path)
        && MessageBox::question(window, kOverwriteListQuestion, MessageBox::Yes::Destroys)
            != QMessageBox::Yes)
        return {};
    return path;
}

} // namespace Zestrola
