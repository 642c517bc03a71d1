// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QListWidget;

// "Einstellung: Suche im Internet": the search address (typed, or picked
// from the address list file) and whether the term also goes to the
// clipboard. The search uses what the dialog holds; the settings store
// keeps it across runs, written on OK only.
class TEinstellFormSucheImInternet : public QDialog
{
    Q_OBJECT
public:
    static inline const QString kAddressValue = QStringLiteral("Internetadresse");
    static inline const QString kClipboardValue
        = QStringLiteral("Internet_Suchbegriff_in_Clipboard_kopieren");

    explicit TEinstellFormSucheImInternet(QWidget *parent = nullptr);

    void setAddressListFile(const QString &path) { m_listPath = path; }
    // At the main window's first paint: the stored switch and address.
    void loadSettings();
    // Internetsuche1Click: the address list and the stored address, then the
    // dialog, modal.
    int openSettings();
    // The list file's lines, when it exists, and the stored address.
    void prepare();

    QString address() const;
    bool copiesTermToClipboard() const;

    QLineEdit *addressEdit() const { return m_address; }
    QListWidget *addressList() const { return m_list; }
    QCheckBox *clipboardSwitch() const { return m_clipboard; }

    void Button1Click();

private:
    QString m_listPath;
    QLineEdit *m_address = nullptr;
    QListWidget *m_list = nullptr;
    QCheckBox *m_clipboard = nullptr;
};
