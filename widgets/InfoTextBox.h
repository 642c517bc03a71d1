// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Colouring.h"
#include "model/FileStamp.h"

#include <QTextEdit>
#include <QUrl>
#include <functional>

class InfoTextHighlighter;

// Tab stops (pixels) for every line of a text, so that a table row in it
// lines up like the table view. The lines take it as they are made (see
// setPlainTextKeeping): set on the lines afterwards, it takes seconds for a
// long text.
QTextBlockFormat tabStopFormat(const QList<int> &stops);

// The info box over the table view: an entry's info file (its row, then the
// description), the row coloured like the table, the entry's picture at a
// third of its size on a line of its own at the end. The text can be
// edited; closing asks whether to save a changed text, and saving writes
// the text without the picture's line.
//
// Web addresses in the text are shown as links; a click hands them on
// (linkClicked). The word under the mouse is offered as search term
// (searchWordHovered), and a double click on the picture's line asks for
// the large picture (largePictureRequested).
class InfoTextBox : public QTextEdit
{
    Q_OBJECT
public:
    // The marks of one line of a table row, for the colouring.
    using LineMarker = std::function<QList<Zestrola::CellMark>(QStringView line)>;

    static inline const QString kSaveQuestion
        = QStringLiteral("Sie haben Text verändert. Möchten Sie speichern?");

    explicit InfoTextBox(QWidget *parent = nullptr);
    ~InfoTextBox() override;

    void setLineMarker(LineMarker marker);
    // Colours the row anew, after the thresholds changed.
    void recolour();

    // Fills the box from the info file; false (and the box unchanged) when
    // there is no such file, or one that cannot be shown (too large, not a
    // file, unreadable: told in a message). The picture is added when
    // `picturePath` exists; one that cannot be decoded is reported and left
    // out.
    bool load(const QString &infoPath, const QString &picturePath, const QList<int> &tabStops);

    const QString &infoPath() const { return m_infoPath; }
    // The last picture found for a shown entry.
    const QString &picturePath() const { return m_picturePath; }
    bool hasPicture() const { return m_hasPicture; }
    bool isChanged() const;

    // Edit mode: opened with "Infotext bearbeiten"; the mouse then stays
    // with the box instead of also moving over the table.
    void setEditMode(bool on) { m_editMode = on; }
    bool isEditMode() const { return m_editMode; }

    // Closes the box; a changed text first gets the save question. False
    // when saving failed: the box then stays open with its text.
    bool closeBox();
    // Writes the text (without the picture's line) to the info file; a
    // file another program changed or removed since it was loaded is
    // overwritten only when the user agrees.
    bool save();
    // The text as it is saved.
    QString textToSave() const;

    // Pastes the clipboard's text, if it holds any, at the caret.
    void pasteText();

Q_SIGNALS:
    void searchWordHovered(const QString &word);
    void mouseMovedOver(QPoint globalPos);
    void largePictureRequested(const QString &picturePath);
    void linkClicked(const QUrl &url);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    void showText(const QString &text, const QList<int> &tabStops);
    void appendPicture(QImage picture);
    int firstLineWidth() const;
    std::optional<std::pair<QTextBlock, int>> characterAt(QPoint viewportPos) const;
    QString wordAt(QPoint viewportPos) const;

    InfoTextHighlighter *m_highlighter = nullptr;
    QString m_infoPath;
    Zestrola::FileStamp m_stamp;
    QString m_picturePath;
    bool m_hasPicture = false;
    bool m_editMode = false;
};
