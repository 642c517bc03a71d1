// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;

// An entry's picture, large: twice the picture's size, never larger than
// the screen. Not modal; it stays open until the user closes it and shows
// the next picture when asked again.
class TImageGrossForm : public QDialog
{
    Q_OBJECT
public:
    static constexpr QSize kInitialSize { 719, 468 };

    explicit TImageGrossForm(QWidget *parent = nullptr);

    // Shows the picture at `path`; the window is shown in any case. A
    // missing or damaged file leaves it empty, never with another entry's
    // picture.
    void showPicture(const QString &path);
    QImage picture() const { return m_picture; }

private:
    QSize availableSize() const;

    QLabel *m_image = nullptr;
    QImage m_picture;
};
