// SPDX-License-Identifier: GPL-3.0-or-later
// Filling a new entry from an Open Food Facts answer, and a product's photo
// shown in the new-entry dialog. The answer and the photo are made here:
// the benchmark sends nothing anywhere.

#include "BenchData.h"
#include "Goals.h"
#include "Measurements.h"
#include "Timing.h"
#include "dialogs/NeuForm.h"
#include "model/EntryRules.h"
#include "online/OpenFoodFacts.h"
#include "widgets/MessageBox.h"

#include <QApplication>

namespace Bench {

namespace {

const QStringList kDrinkHeader = Zestrola::defaultFoodHeader()
    + QStringList { QStringLiteral("Alkohol|vol.-%"), QStringLiteral("Alkohol|in g") };

} // namespace

int measureOnline()
{
    using namespace Zestrola::OpenFoodFacts;
    const QByteArray answer = fullProductAnswer(kOnlineAnswerBytes);
    const QStringList before(kDrinkHeader.size(), QStringLiteral("0,00"));
    Zestrola::OpenFoodFacts::FilledEntry filled;
    printRuns("onlineFill",
        timeRuns(
            kOnlineRuns, [] {},
            [&] {
                const ProductAnswer read = parseProductAnswer(answer);
                filled = fillEntry(read.product, kDrinkHeader, before,
                    productPageAddress(QUrl(kDefaultServer), read.product.code));
            }));
    if (filled.cells.value(2) != u"539,00" || filled.description.size() < 200)
        fail("the answer did not fill the entry");
    printValue("onlineAnswerKilobytes", double(answer.size()) / 1024);

    MessageBox::setTestMode(true);
    TNeuForm dialog;
    Zestrola::EntryDialogInput input;
    input.tableName = QStringLiteral("Getränke");
    input.headerCells = kDrinkHeader;
    input.columnWidths = QList<int>(kDrinkHeader.size(), 66);
    dialog.prepare(input);
    dialog.resize(1000, 640);
    dialog.show();
    QApplication::processEvents();
    const QByteArray photo = productPhoto(kOnlinePhotoBytes);
    printRuns("onlinePhoto",
        timeRuns(
            kOnlineRuns, [] {},
            [&] {
                if (!dialog.showPhoto(photo))
                    fail("the photo was not shown");
                dialog.repaint();
            }));
    printValue("onlinePhotoMegabytes", double(photo.size()) / 1e6);
    return 0;
}

} // namespace Bench
