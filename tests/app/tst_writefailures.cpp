// SPDX-License-Identifier: GPL-3.0-or-later
// Writes that cannot happen: the old file stays whole, nothing is left
// behind, and the user is told in German which file it was.

#include "TestSupport.h"
#include "calc/DateienZusammfuegenForm.h"
#include "dialogs/NeueTabelleForm.h"
#include "dialogs/TextBausteinForm.h"
#include "model/DataFolder.h"
#include "model/EntryEdit.h"
#include "model/EntryRules.h"
#include "model/InfoText.h"
#include "widgets/FileDialog.h"
#include "widgets/InfoTextBox.h"
#include "widgets/MessageBox.h"

#include <QDir>
#include <QDirIterator>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace Zestrola;

namespace {

enum class Writer { InfoText, Snippets, MergedList };

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

class TestWriteFailures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        TestSupport::isolateSettings();
        FileDialog::setTestMode(true);
    }
    void init() { MessageBox::setTestMode(true); } // forgets earlier messages

    // Each writer once: all of them go through the table file's writer,
    // whose read-only cases are its own tests.
    void readOnlyFolderKeepsOldFile_data()
    {
        QTest::addColumn<Writer>("writer");
        QTest::addColumn<QString>("file");
        QTest::newRow("info file") << Writer::InfoText << u"Obst/Apfel.txt"_s;
        QTest::newRow("snippets") << Writer::Snippets << kSnippetFileName;
        QTest::newRow("merged list")
            << Writer::MergedList << kCalculationFolderName + u"/Tag.txt"_s;
    }
    void readOnlyFolderKeepsOldFile()
    {
        QFETCH(Writer, writer);
        QFETCH(QString, file);
        TestSupport::DataFolder data;
        const QString path = data.path() + file;
        data.addFile(file, kOld);
        data.addFile(
            kCalculationFolderName + u"/Früh.txt"_s, "Werte_bei_100_Gramm:100\tApfel\t52\t\r\n");

        InfoTextBox box;
        TTextBausteinForm snippets;
        TDateienZusammfuegenForm merge(data.path() + kCalculationFolderName);
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
        }

        const QMap<QString, QByteArray> before = contentsOf(data.path());
        {
            const TestSupport::Blocked readOnly(
                QFileInfo(path).path(), TestSupport::Blocked::Writing);
            if (!readOnly.isActive())
                QSKIP(readOnly.skipReason());
            QVERIFY(!write());
        }
        QCOMPARE(contentsOf(data.path()), before);
        const QString shown
            = MessageBox::shownMessages().value(MessageBox::shownMessages().size() - 1);
        QVERIFY2(shown.contains(path) && shown.contains(u" nicht "_s), qPrintable(shown));
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
