// SPDX-License-Identifier: GPL-3.0-or-later
// The info box with and without a camera-sized photo, the photo's decode on
// its own, and the large picture window.

#include "BenchData.h"
#include "BenchWindow.h"
#include "Goals.h"
#include "GuiTestSupport.h"
#include "Measurements.h"
#include "Timing.h"
#include "dialogs/ImageGrossForm.h"
#include "model/InfoText.h"
#include "model/JpegPicture.h"
#include "widgets/InfoTextBox.h"
#include "widgets/Picture.h"
#include "widgets/TableTextView.h"

#include <QFileInfo>

namespace Bench {

int measureInfoBox(const QString &dataFolder)
{
    enterDataFolder(dataFolder);
    const TestSupport::MessageBoxTestMode answeredAtOnce;
    BenchWindow window;
    window.load(kInfoTable);
    InfoTextBox *box = window.form.infoBox();

    const auto closeBox = [&] {
        window.form.SchliesseRichedit3();
        window.settle();
    };
    const auto open = [&](int line) {
        window.view->setCaret({ line, 0 });
        window.form.InfotextAnzeigen(20);
        box->viewport()->repaint();
    };
    printRuns("infoPicture", timeRuns(kInfoRuns, closeBox, [&] { open(0); }));
    if (!box->hasPicture())
        fail("the photo was not shown");
    printRuns("infoText", timeRuns(kInfoRuns, closeBox, [&] { open(1); }));
    printRuns("infoLongest", timeRuns(kLongInfoRuns, closeBox, [&] { open(2); }));
    if (box->isHidden())
        fail("the longest info text was not shown");
    // Its part: the decode, shrinking included.
    const QString photo = box->picturePath();
    printRuns("infoDecode",
        timeRuns(
            kInfoRuns, [] {}, [&] { loadPicture(nullptr, photo, Zestrola::thumbnailSize); }));
    printValue("photoMegabytes", double(QFileInfo(photo).size()) / 1e6);

    open(0);
    auto *large = window.form.findChild<TImageGrossForm *>();
    if (!large)
        fail("the large picture window was not found");
    const auto hideLarge = [&] {
        large->hide();
        window.settle();
    };
    printRuns("largePicture", timeRuns(kInfoRuns, hideLarge, [&] {
        large->showPicture(box->picturePath());
        large->repaint();
    }));
    return 0;
}

} // namespace Bench
