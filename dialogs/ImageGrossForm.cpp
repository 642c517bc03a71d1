// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/ImageGrossForm.h"

#include "model/DataFolder.h"
#include "model/InfoText.h"
#include "widgets/Picture.h"

#include <QFileInfo>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

using namespace Zestrola;

TImageGrossForm::TImageGrossForm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ImageGrossForm"));
    setWindowTitle(QStringLiteral(" "));
    setModal(false);
    m_image = new QLabel(this);
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setAccessibleName(QStringLiteral("Bild"));
    m_image->setScaledContents(true);
    m_image->setMinimumSize(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_image);
    resize(kInitialSize);
}

QSize TImageGrossForm::availableSize() const
{
    const QScreen *screen = this->screen();
    if (!screen)
        return {};
    // The frame around the window takes some of the screen too.
    const int frame = style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8;
    return screen->availableGeometry().size() - QSize(8, frame);
}

void TImageGrossForm::showPicture(const QString &path)
{
    m_picture = {};
    m_image->clear();
    if (QFileInfo(path).isFile()) {
        const QSize available = availableSize();
        const QImage picture = loadPicture(
            this, path, [available](QSize source) { return largePictureSize(source, available); });
        if (!picture.isNull()) {
            m_picture = picture;
            m_image->setPixmap(QPixmap::fromImage(picture));
            m_image->setAccessibleDescription(nameFromFileName(QFileInfo(path).completeBaseName()));
            resize(picture.size());
            const QRect screenArea = screen() ? screen()->availableGeometry() : QRect();
            if (!screenArea.isEmpty())
                move(screenArea.center() - rect().center());
        }
    }
    show();
    raise();
    activateWindow();
}
