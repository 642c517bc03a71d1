// SPDX-License-Identifier: GPL-3.0-or-later
// Writes that cannot happen: the old file stays whole, nothing is left
// behind, and the user is told in German which file it was and why.

#include "MainFormFixture.h"
#include "calc/DateienZusammfuegenForm.h"
#include "dialogs/BearbeitenForm.h"
#include "dialogs/NeuForm.h"
#include "dialogs/NeueTabelleForm.h"
#include "dialogs/TextBausteinForm.h"
#include "model/DataFolder.h"
#include "model/EntryEdit.h"
#include "model/EntryRules.h"
#include "model/InfoText.h"
#include "model/JpegPicture.h"
#include "model/TableFile.h"
#include "widgets/CellGrid.h"
#include "widgets/FileDialog.h"
#include "widgets/InfoTextBox.h"
#include "widgets/IntakeChart.h"
#include "widgets/IntakePrint.h"
#include "widgets/MessageBox.h"

#include <QDir>
#include <QDirIterator>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace Zestrola;

namespace {

enum class Writer { InfoText, Snippets, MergedList, Chart, Pdf };
enum class TableCommand { NewEntry, Rename, Delete, Sort, NewTable };
enum class Cause { ReadOnlyFolder, FullDisk, PartFits };

const QByteArray kOld = "\xEF\xBB\xBF"
                        "Apfel\t52\r\nalt\r\n";

// Everything below the folder, hidden files included, with its bytes.
QMap<QString, QByteArray> contentsOf(const QString &folder)
{
    QMap<QString, QByteArray> contents;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        contents.insert(
            entry.filePath(), entry.isDir() ? "/" : TestSupport::readBytes(entry.filePath()));
    }
    return contents;
}

} // namespace

Q_DECLARE_METATYPE(Writer)
Q_DECLARE_METATYPE(Cause)
Q_DECLARE_METATYPE(TableCommand)

class TestWriteFailures : public MainFormFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        TestSupport::isolateSettings();
        FileDialog::setTestMode(true);
    }
    void init() { MessageBox::setTestMode(true); } // forgets earlier messages

    // Each writer once, on a folder it may not write to and on a disk with
    // no block left (where a write used to fail only in a last flush that
    // went unreported, leaving an empty or cut file): the text writers go
    // through the table file's writer, pictures and PDF through its commit.
    void unwritableKeepsOldFile_data()
    {
        QTest::addColumn<Writer>("writer");
        QTest::addColumn<QString>("file");
        QTest::addColumn<Cause>("cause");
        const QList<std::tuple<const char *, Writer, QString>> writers {
            { "info file", Writer::InfoText, u"Obst/Apfel.txt"_s },
            { "snippets", Writer::Snippets, kSnippetFileName },
            { "merged list", Writer::MergedList, kCalculationFolderName + u"/Tag.txt"_s },
            { "chart", Writer::Chart, kCalculationFolderName + u"/Tag.png"_s },
            { "pdf", Writer::Pdf, kCalculationFolderName + u"/Tag.pdf"_s },
        };
        for (const auto &[name, writer, file] : writers) {
            QTest::addRow("%s, read-only folder", name) << writer << file << Cause::ReadOnlyFolder;
            QTest::addRow("%s, full disk", name) << writer << file << Cause::FullDisk;
        }
    }
    void unwritableKeepsOldFile()
    {
        QFETCH(Writer, writer);
        QFETCH(QString, file);
        QFETCH(Cause, cause);
        TestSupport::SmallDisk disk;
        if (cause == Cause::FullDisk && !disk.isActive())
            QSKIP(TestSupport::SmallDisk::skipReason());
        TestSupport::DataFolder data(cause == Cause::FullDisk ? disk.path() : QString());
        const QString path = data.path() + file;
        data.addFile(file, kOld);
        data.addFile(
            kCalculationFolderName + u"/Früh.txt"_s, "Werte_bei_100_Gramm:100\tApfel\t52\t\r\n");

        InfoTextBox box;
        TTextBausteinForm snippets;
        TDateienZusammfuegenForm merge(data.path() + kCalculationFolderName);
        IntakeChart chart;
        std::function<bool()> write;
        switch (writer) {
        case Writer::InfoText:
            QVERIFY(box.load(path, QString(), {}));
            box.show();
            box.insertPlainText(u"neu"_s);
            MessageBox::queueAnswer(QMessageBox::Yes); // save the change
            write = [&] { return box.closeBox() || box.isHidden(); };
            break;
        case Writer::Snippets:
            snippets.setSnippetFile(path);
            snippets.loadSnippetFile();
            snippets.list()->appendPlainText(u"neu"_s);
            write = [&] { return snippets.save(); };
            break;
        case Writer::MergedList:
            FileDialog::queueAnswer(data.path() + kCalculationFolderName + u"/Früh.txt"_s);
            merge.BitBtn1Click();
            TestSupport::requireChild<QLineEdit>(&merge, u"Edit1"_s)->setText(u"Tag"_s);
            MessageBox::queueAnswer(QMessageBox::Yes); // overwrite
            write = [&] {
                merge.ZusammenfuegenButtonClick();
                return TestSupport::readBytes(path) != kOld;
            };
            break;
        case Writer::Chart:
        case Writer::Pdf:
            write = [&] {
                QString error;
                const bool written = writer == Writer::Chart
                    ? chart.savePng(path, &error)
                    : writeIntakePdf(
                        { u"Tag"_s, QDate(2020, 3, 1), {}, u"Bericht"_s }, path, &error);
                if (!written)
                    MessageBox::error(nullptr, error);
                return written;
            };
            break;
        }

        const QMap<QString, QByteArray> before = contentsOf(data.path());
        std::optional<TestSupport::Blocked> readOnly;
        if (cause == Cause::ReadOnlyFolder) {
            readOnly.emplace(QFileInfo(path).path(), TestSupport::Blocked::Writing);
            if (!readOnly->isActive())
                QSKIP(readOnly->skipReason());
        } else {
            disk.fill();
        }
        QVERIFY(!write());
        readOnly.reset();
        QCOMPARE(contentsOf(data.path()), before);
        const QString shown
            = MessageBox::shownMessages().value(MessageBox::shownMessages().size() - 1);
        const QString told
            = cause == Cause::FullDisk ? u"Der Datenträger ist voll."_s : u"Keine Berechtigung"_s;
        QVERIFY2(shown.contains(path) && shown.contains(told), qPrintable(shown));
        // With room again the very same writer succeeds.
        if (cause == Cause::FullDisk) {
            disk.makeRoom();
            MessageBox::queueAnswer(QMessageBox::Yes);
            QVERIFY(write());
            QVERIFY(TestSupport::readBytes(path) != kOld);
        }
    }

    // The table commands when the table cannot be written: on a disk with
    // no block left, on one where only part of a large table fits (where a
    // table used to be cut in the middle of a row), and in a folder that
    // takes no new file. Nothing of the command is left behind (no info
    // file without its row, no folder without its table), every row stays,
    // and the cause is told. Given room, the same command goes through.
    void tableCommandsThatCannotBeWritten_data()
    {
        QTest::addColumn<TableCommand>("command");
        QTest::addColumn<Cause>("cause");
        const QList<std::pair<const char *, TableCommand>> commands {
            { "new entry", TableCommand::NewEntry },
            { "rename", TableCommand::Rename },
            { "delete", TableCommand::Delete },
            { "sort", TableCommand::Sort },
            { "new table", TableCommand::NewTable },
        };
        for (const auto &[name, command] : commands) {
            QTest::addRow("%s, full disk", name) << command << Cause::FullDisk;
            if (command != TableCommand::NewTable) // a new table is small
                QTest::addRow("%s, half the table fits", name) << command << Cause::PartFits;
            QTest::addRow("%s, read-only data folder", name) << command << Cause::ReadOnlyFolder;
        }
    }
    void tableCommandsThatCannotBeWritten()
    {
        QFETCH(TableCommand, command);
        QFETCH(Cause, cause);
        TestSupport::SmallDisk disk;
        if (cause != Cause::ReadOnlyFolder && !disk.isActive())
            QSKIP(TestSupport::SmallDisk::skipReason());
        const auto closed = qScopeGuard([this] { tearDown(); }); // before the disk goes
        prepare({}, cause == Cause::ReadOnlyFolder ? QString() : disk.path());
        // About 270 KB, out of order so that sorting changes it; Apfel has
        // its description and picture.
        QByteArray rows;
        for (int i = 6000; i > 0; --i)
            rows += "Sorte " + QByteArray::number(i) + "\t52,00\t0,40\t11,40\t2,40\r\n";
        const QByteArray table = kBom + "Obst 100g\tkcal\tFett\tZucker\tEiweiß\r\n" + rows
            + "Apfel\t52,00\t0,40\t11,40\t2,40\r\n";
        data->addTable(u"Obst"_s, table);
        data->addFile(u"Obst/Apfel.txt"_s, kOld);
        data->addFile(u"Obst/Apfel.jpg"_s, jpeg({ 8, 8 }));
        start();
        choose(u"Obst"_s);
        const auto run = [&] {
            switch (command) {
            case TableCommand::NewEntry:
                whileOpen<TNeuForm>([](TNeuForm *dialog) {
                    dialog->nameField()->setText(u"Kiwi"_s);
                    dialog->valueGrid()->setCellText(0, u"Kiwi"_s);
                    dialog->OkButtonClick();
                });
                trigger("NeuerEintrag1");
                break;
            case TableCommand::Rename:
                QCOMPARE(form->session().entryName(6000), u"Apfel"_s);
                view()->setCaret({ 6000, 0 });
                whileOpen<TBearbeitenForm>([](TBearbeitenForm *dialog) {
                    dialog->valueGrid()->setCellText(0, u"Boskop"_s);
                    dialog->OkButtonClick();
                });
                trigger("AktuelleZeile1");
                break;
            case TableCommand::Delete:
                QCOMPARE(form->session().entryName(6000), u"Apfel"_s);
                view()->setCaret({ 6000, 0 });
                MessageBox::queueAnswer(QMessageBox::Yes);
                trigger("Zeileloeschen1");
                break;
            case TableCommand::Sort:
                trigger("Sortieren1");
                break;
            case TableCommand::NewTable:
                whileOpen<TNeueTabelleForm>([](TNeueTabelleForm *dialog) {
                    dialog->nameField()->setText(u"Gemüse"_s);
                    dialog->OKButtonClick();
                });
                trigger("NeueTabelle1");
                break;
            }
        };

        const QMap<QString, QByteArray> before = contentsOf(data->path());
        std::optional<TestSupport::Blocked> readOnly;
        if (cause == Cause::ReadOnlyFolder) {
            readOnly.emplace(data->path(), TestSupport::Blocked::Writing);
            if (!readOnly->isActive())
                QSKIP(readOnly->skipReason());
        } else {
            disk.fill(cause == Cause::PartFits ? table.size() / 2 : 0);
        }
        run();
        readOnly.reset();
        QCOMPARE(contentsOf(data->path()), before);
        const QString told = cause == Cause::ReadOnlyFolder ? u"Keine Berechtigung"_s
                                                            : u"Der Datenträger ist voll."_s;
        QVERIFY2(messages().join(u'|').contains(told), qPrintable(messages().join(u'|')));
        QCOMPARE(view()->lineCount(), 6001);

        disk.makeRoom();
        MessageBox::clearShownMessages();
        run();
        const int questions = command == TableCommand::Delete ? 1 : 0; // "wirklich löschen?"
        QVERIFY2(messages().size() == questions, qPrintable(messages().join(u'|')));
        const QMap<QString, QByteArray> after = contentsOf(data->path());
        const QString tablePath = data->path() + u"Obst.txt"_s;
        switch (command) {
        case TableCommand::NewEntry:
            QVERIFY(after.value(tablePath).contains("\r\nKiwi"));
            QVERIFY(after.contains(data->path() + u"Obst/Kiwi.txt"_s));
            break;
        case TableCommand::Rename:
            QVERIFY(after.value(tablePath).contains("\r\nBoskop\t"));
            QVERIFY(!after.value(tablePath).contains("\r\nApfel\t"));
            QCOMPARE(after.value(data->path() + u"Obst/Boskop.jpg"_s),
                before.value(data->path() + u"Obst/Apfel.jpg"_s));
            break;
        case TableCommand::Delete:
            QVERIFY(!after.value(tablePath).contains("\r\nApfel\t"));
            QVERIFY(!after.contains(data->path() + u"Obst/Apfel.txt"_s));
            break;
        case TableCommand::Sort:
            QVERIFY(after.value(tablePath).startsWith(
                QByteArray(kBom + "Obst 100g\tkcal\tFett\tZucker\tEiweiß\r\nApfel\t")));
            break;
        case TableCommand::NewTable:
            QVERIFY(after.contains(data->path() + u"Gemüse.txt"_s));
            break;
        }
    }

    // What stands in a file's place is told by its cause, on writing and on
    // reading (info files and pictures), never in the system's English and
    // never by silence.
    void failuresNameFileAndCause_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("cause");
        QTest::addColumn<bool>("readRefused"); // false: no file, nothing to tell
        QTest::newRow("a folder") << u"Apfel.txt"_s << u"keine Datei, sondern ein Ordner"_s << true;
        QTest::newRow("a link in a loop") << u"Schleife.txt"_s << u"im Kreis"_s << true;
        QTest::newRow("300 bytes of name")
            << QString(150, u'ä') + u".txt"_s << u"Der Name ist zu lang."_s << true;
        QTest::newRow("no entry folder")
            << u"Fehlt/Apfel.txt"_s << u"Die Datei oder ihr Ordner ist nicht vorhanden."_s << false;
    }
    void failuresNameFileAndCause()
    {
        QFETCH(QString, name);
        QFETCH(QString, cause);
        QFETCH(bool, readRefused);
        TestSupport::DataFolder data;
        const QString path = data.path() + name;
        data.addFolder(u"Apfel.txt"_s);
        QVERIFY(QFile::link(data.path() + u"Schleife.txt"_s, data.path() + u"Schleife.txt"_s));

        QString error;
        QVERIFY(!WriteToStream(u"Apfel\t52"_s, path, &error));
        QVERIFY2(error.contains(path) && error.contains(cause), qPrintable(error));
        const InfoFile read = readInfoFile(path);
        QCOMPARE(read.result, readRefused ? InfoFile::Result::Refused : InfoFile::Result::Missing);
        if (readRefused)
            QVERIFY2(read.problem.contains(path) && read.problem.contains(cause),
                qPrintable(read.problem));
        // A picture in such a place: the same cause.
        const QString picture = decodeJpegFile(path).errorMessage;
        QVERIFY2(picture.contains(path) && picture.contains(cause), qPrintable(picture));
    }

    // The name of a new table must fit into a file name (255 bytes here,
    // ".txt" included); a longer one is refused before anything is written.
    void tableNameMustFitIntoFileName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("fits");
        QTest::newRow("150 umlauts, 300 bytes") << QString(150, u'ä') << false;
        QTest::newRow("file name one byte too long") << QString(252, u'x') << false;
        QTest::newRow("just fits") << QString(251, u'x') << true;
        QTest::newRow("escaped slash makes it too long") << QString(246, u'x') + u'/' << false;
    }
    void tableNameMustFitIntoFileName()
    {
        QFETCH(QString, name);
        QFETCH(bool, fits);
        TestSupport::DataFolder data;
        TNeueTabelleForm form;
        form.prepare(data.path(), u"Obst"_s, defaultFoodHeader(), {});
        form.nameField()->setText(name);
        form.OKButtonClick();
        const QStringList refused { u"Der Name ist zu lang für eine Datei. Bitte geben Sie einen "
                                    "kürzeren Namen ein."_s };
        QCOMPARE(MessageBox::shownMessages(), fits ? QStringList() : refused);
        QCOMPARE(form.result(), fits ? QDialog::Accepted : QDialog::Rejected);

        QString error;
        QCOMPARE(createTable(data.path(), name, defaultFoodHeader(), &error), fits);
        QCOMPARE(error, fits ? QString() : refused[0]);
        QCOMPARE(QDir(data.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(),
            fits ? 2 : 0);
    }
};

QTEST_MAIN(TestWriteFailures)
#include "tst_writefailures.moc"
