// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ChangedFile.h"

#include "widgets/MessageBox.h"

using Zestrola::FileStamp;

bool mayOverwriteChangedFile(QWidget *parent, const QString &path, const FileStamp &stamp)
{
    switch (stamp.check(path)) {
    case FileStamp::Check::Unchanged:
        return true;
    case FileStamp::Check::Missing:
        return MessageBox::question(parent,
                   QStringLiteral("Die Datei \"%1\" ist nicht mehr vorhanden: ein anderes Programm "
                                  "hat sie gelöscht oder umbenannt.\nSoll sie mit Ihrem Text neu "
                                  "angelegt werden?")
                       .arg(path),
                   MessageBox::Yes::Keeps)
            == QMessageBox::Yes;
    case FileStamp::Check::Changed:
        break;
    }
    return MessageBox::question(parent,
               QStringLiteral("Die Datei \"%1\" wurde von einem anderen Programm geändert, seit "
                              "Zestrola sie gelesen hat.\nSoll sie trotzdem mit Ihrem Text "
                              "überschrieben werden? (Nein: nichts wird gespeichert.)")
                   .arg(path),
               MessageBox::Yes::Destroys)
        == QMessageBox::Yes;
}
