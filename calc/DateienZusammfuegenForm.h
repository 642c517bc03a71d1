// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;
class QMenu;

// Merges saved calculation lists (one per meal, say) into one file (one per
// day): every per-100 line of every file first, then every row.
class TDateienZusammfuegenForm : public QDialog
{
    Q_OBJECT
public:
    static inline const QString kDefaultName = QStringLiteral(" Meine Nährwertzufuhr Tag1");

    // `calculationFolder` holds the lists and receives the merged file.
    explicit TDateienZusammfuegenForm(const QString &calculationFolder, QWidget *parent = nullptr);

    // The names the list shows, and the files behind them.
    QStringList fileNames() const;
    QStringList filePaths() const;

    void BitBtn1Click();
    void ZusammenfuegenButtonClick();
    void EintragloeschenClick();
    void AlleEintraegeloeschenClick();
    void Button2Click();

private:
    void tellUnreadable(const QString &outcome, const QStringList &paths);

    QString m_folder;
    QListWidget *m_names = nullptr;
    QLineEdit *m_mergedName = nullptr;
    QMenu *m_namesPopup = nullptr;
};
