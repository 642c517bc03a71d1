// Times the table view's everyday work on tables of 1,000, 10,000 and
// 100,000 entries and prints one table of medians next to the goals.
//
// Build in Release; runs offscreen by itself.

#include "app/Fonts.h"
#include "app/HeaderGrid.h"
#include "app/TableTextView.h"
#include "model/TableFile.h"
#include "model/ViewText.h"

#include "model/Search.h"
#include "model/SortSave.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <optional>

namespace {

const QString kHeader = QStringLiteral(
    "Lebensmittel 100g\tBrennwert|in kJ\t|in kcal\tEnergie-|dichte\tFett\tgesättigte|Fettsäuren\t"
    "Kohlen-|hydrate\tdavon|Zucker\tEiweiß\tSalz");

const QStringList kPrefixes = {
    "Bio",
    "Vollkorn",
    "Frische",
    "Geräucherte",
    "Gebratene",
    "Süße",
    "Würzige",
    "Knusprige",
    "Zarte",
    "Feine",
    "Rote",
    "Grüne",
    "Hausgemachte",
    "Gekochte",
};
const QStringList kNouns = {
    "Äpfel",
    "Brötchen",
    "Käse",
    "Müsli",
    "Bratwurst",
    "Gemüsesuppe",
    "Haferflocken",
    "Joghurt",
    "Knödel",
    "Nüsse",
    "Sahne",
    "Schokolade",
    "Weißkohl",
    "Möhren",
    "Rührei",
    "Frikadelle",
    "Quark",
    "Lachsfilet",
    "Spätzle",
    "Pfannkuchen",
};
const QStringList kSuffixes = {
    "mit Kräutern",
    "nach Art des Hauses",
    "aus Österreich",
    "ungesüßt",
    "fettarm",
    "in Öl",
    "mit Äpfeln",
    "glutenfrei",
    "vom Grill",
    "(tiefgekühlt)",
    "Größe M",
    "",
};

QString decimal(double value)
{
    return QString::number(value, 'f', value < 10 ? 2 : 1).replace(u'.', u',');
}

// A value cell as people type them: mostly numbers, now and then "?" (not
// stated) or a "<" bound.
QString valueCell(QRandomGenerator &random, double max)
{
    const int roll = int(random.bounded(100));
    if (roll < 2)
        return QStringLiteral("?");
    if (roll < 5)
        return roll < 4 ? QStringLiteral("<0,1") : QStringLiteral("<0,5");
    return decimal(random.bounded(max));
}

QString tableRow(QRandomGenerator &random, int index)
{
    QString name = kPrefixes[random.bounded(int(kPrefixes.size()))] + u' '
        + kNouns[random.bounded(int(kNouns.size()))];
    const QString &suffix = kSuffixes[random.bounded(int(kSuffixes.size()))];
    if (!suffix.isEmpty())
        name += u' ' + suffix;
    name += QStringLiteral(", Sorte %1").arg(index);
    const double kilojoule = random.bounded(3700.0);
    const double kcal = kilojoule / 4.184;
    QStringList cells { name, QString::number(qRound(kilojoule)), QString::number(qRound(kcal)),
        decimal(kcal / 100) };
    for (double max : { 60.0, 30.0, 90.0, 60.0, 40.0, 5.0 })
        cells << valueCell(random, max);
    QString row = cells.join(u'\t');
    if (index % 7 == 0)
        row += u'\t'; // some rows already end with a TAB
    return row;
}

QString writeTable(const QString &folder, int rows)
{
    QRandomGenerator random(4711 + rows);
    QStringList lines { kHeader };
    lines.reserve(rows + 1);
    for (int i = 0; i < rows; ++i)
        lines << tableRow(random, i);
    const QString path = folder + QStringLiteral("/Tabelle%1.txt").arg(rows);
    QString error;
    if (!Zestrola::WriteToStream(lines.join(Zestrola::kLineEnd) + Zestrola::kLineEnd, path, &error))
        qFatal("%s", qPrintable(error));
    return path;
}

// Starts the peak-memory figure afresh, so that generating the next table
// does not count as the view's memory.
void resetPeakMemory()
{
    malloc_trim(0);
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

// Median of several runs in milliseconds; `prepare` runs untimed before each.
double medianMs(int runs, const std::function<void()> &prepare, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct Window
{
    QWidget widget;
    HeaderGrid *header = new HeaderGrid;
    TableTextView *view = new TableTextView;
    QString headerLine;

    Window()
    {
        widget.setFont(Fonts::unicodeSans());
        auto *layout = new QVBoxLayout(&widget);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(header);
        layout->addWidget(view);
        coupleHeaderAndView(header, view);
        widget.resize(1000, 700);
        widget.show();
        QApplication::processEvents();
    }

    // Everything between picking a table and seeing it.
    // Milliseconds of the last load's steps: dropping the previous table,
    // reading and decoding, view rows, header, setLines, paint.
    double steps[5] = {};

    void load(const QString &path)
    {
        QElapsedTimer timer;
        timer.start();
        auto step = [&](int i) {
            steps[i] = double(timer.nsecsElapsed()) / 1e6;
            timer.restart();
        };
        // The previous table goes first, so that two tables never share the
        // memory peak.
        view->setLines({});
        const QString text = Zestrola::readTextFile(path);
        step(0);
        Zestrola::ViewTable table = Zestrola::buildViewTable(text);
        step(1);
        const QStringList cells = Zestrola::headerCells(table.headerLine);
        QStringList texts;
        QList<int> widths;
        for (int c = 0; c < cells.size(); ++c) {
            texts << Zestrola::headerCellDisplayText(cells[c]);
            widths << Zestrola::headerColumnWidth(c, cells[c]);
        }
        header->setCells(texts, widths);
        headerLine = table.headerLine;
        step(2);
        view->setLines(std::move(table.rows));
        step(3);
        widget.repaint();
        step(4);
    }
};

struct Row
{
    const char *name;
    QString goal;
    double goal100k;
    bool megabytes;
    std::optional<double> values[3] = {};
};

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    const int sizes[3] = { 1000, 10000, 100000 };

    std::vector<Row> rows = {
        { "load to first paint", "<= 50 ms", 50, false },
        { "window resize", "<= 15 ms", 15, false },
        { "page scroll", "<= 15 ms", 15, false },
        { "search, no hit (whole text)", "<= 20 ms", 20, false },
        { "search, hit in last row", "<= 20 ms", 20, false },
        { "sort and save", "<= 150 ms", 150, false },
        { "peak memory (VmHWM)", "<= 100 MB", 100, true },
    };

    for (int s = 0; s < 3; ++s) {
        const QString path = writeTable(folder.path(), sizes[s]);
        const int runs = sizes[s] >= 100000 ? 5 : 9;
        resetPeakMemory();
        Window window;
        auto nothing = [] {};

        rows[0].values[s] = medianMs(runs, nothing, [&] { window.load(path); });
        std::fprintf(stderr,
            "%d rows, last load: drop old + read + decode %.2f ms, view rows %.2f ms, header %.2f ms, "
            "setLines %.2f ms, paint %.2f ms\n",
            sizes[s], window.steps[0], window.steps[1], window.steps[2], window.steps[3],
            window.steps[4]);

        int width = 1000;
        rows[1].values[s] = medianMs(runs, nothing, [&] {
            width = width == 1000 ? 940 : 1000;
            window.widget.resize(width, 700);
            QApplication::processEvents();
            window.widget.repaint();
        });

        window.view->setCaret({});
        rows[2].values[s] = medianMs(runs, nothing, [&] {
            QKeyEvent page(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
            QApplication::sendEvent(window.view, &page);
            window.view->viewport()->repaint();
        });

        const QStringList &lines = window.view->lines();
        rows[3].values[s] = medianMs(runs, nothing, [&] {
            if (Zestrola::findRow(lines, QStringLiteral("Xylophon-Tee"), false) != -1)
                qFatal("unexpected hit");
        });
        const QString lastRow = lines.last();
        rows[4].values[s] = medianMs(runs, nothing, [&] {
            const int hit = Zestrola::findRow(lines, lastRow, true);
            if (hit != int(lines.size()) - 1)
                qFatal("search missed the last row");
            window.view->selectLine(hit);
            window.view->viewport()->repaint();
        });

        rows[5].values[s] = medianMs(
            runs, [&] { window.load(path); },
            [&] {
                const QStringList sorted = Zestrola::sortedUniqueRows(window.view->lines());
                QString error;
                if (!Zestrola::WriteToStream(Zestrola::tableFileText(window.headerLine, sorted),
                        folder.path() + QStringLiteral("/sortiert.txt"), &error))
                    qFatal("%s", qPrintable(error));
                window.view->setLines(sorted);
                window.view->viewport()->repaint();
            });
        rows[6].values[s] = peakMegabytes();
    }

    std::printf("| %-30s | %11s | %11s | %12s | %-14s |\n", "measurement", "1,000 rows",
        "10,000 rows", "100,000 rows", "goal at 100k");
    std::printf("|%s|%s|%s|%s|%s|\n", QByteArray(32, '-').constData(),
        QByteArray(13, '-').constData(), QByteArray(13, '-').constData(),
        QByteArray(14, '-').constData(), QByteArray(16, '-').constData());
    bool allMet = true;
    for (const Row &row : rows) {
        std::printf("| %-30s |", row.name);
        for (int s = 0; s < 3; ++s) {
            if (!row.values[s]) {
                std::printf(" %*s |", s == 2 ? 12 : 11, "n/a");
                continue;
            }
            const double v = *row.values[s];
            const double goal = row.megabytes ? row.goal100k : (s == 1 ? 15 : row.goal100k);
            const bool met = s == 0 || v <= goal;
            allMet = allMet && met;
            std::printf(" %7.*f %2s%s |", row.megabytes ? 0 : 2, v, row.megabytes ? "MB" : "ms",
                met ? "" : "!");
        }
        std::printf(" %-14s |\n", qPrintable(row.goal));
    }
    std::printf("\nMedians; goals: 100k as listed, every time figure at 10k <= 15 ms; "
                "\"!\" marks a missed goal.\n");
    return allMet ? 0 : 1;
}
