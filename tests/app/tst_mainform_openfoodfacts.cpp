// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocalHttpServer.h"
#include "MainFormFixture.h"
#include "dialogs/NeuForm.h"
#include "model/Settings.h"
#include "online/OpenFoodFacts.h"
#include "online/ProductClient.h"
#include "widgets/CellGrid.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>
#include <QUrlQuery>

using namespace Qt::StringLiterals;
using Answer = TestSupport::LocalHttpServer::Answer;

Q_DECLARE_METATYPE(TestSupport::LocalHttpServer::Answer)

namespace {

const QByteArray kHeader = "Lebensmittel 100g\tBrennwert|in kJ\t|in kcal\tEnergie-|dichte\tFett\t"
                           "gesättigte|Fettsäuren\tKohlen-|hydrate\tdavon|Zucker\tEiweiß\tSalz\r\n";
const QByteArray kRow = "Apfel\t218,00\t52\t0,52\t0,20\t0,00\t14,00\t10,00\t0,30\t0,00\r\n";
const QByteArray kCode = "4001234567891";
const QByteArray kProductPath = "/api/v2/product/" + kCode;

// A product answer as the product API (v2) gives it, its photo on `photoUrl`.
QByteArray nussCreme(const QString &photoUrl)
{
    return R"({"code":"4001234567891","status":1,"status_verbose":"product found","product":{
        "code":"4001234567891","product_name":"Hazelnut spread","product_name_de":"Nuss-Nougat-Creme",
        "brands":"Nuxo","quantity":"400 g","nutriscore_grade":"e","nova_group":4,
        "ingredients_text_de":"Zucker, Palmöl, Haselnüsse 13 %","allergens_tags":["en:milk","en:nuts"],
        "image_front_url":")"
        + photoUrl.toUtf8() + R"(","nutriments":{"energy-kj_100g":2252,"energy-kcal_100g":539,
        "fat_100g":30.9,"saturated-fat_100g":10.6,"carbohydrates_100g":57.5,"sugars_100g":56.3,
        "proteins_100g":6.3,"salt_100g":0.107}}})";
}

} // namespace

// The new-entry dialog filled from Open Food Facts, served by a local HTTP
// server, driven as a user would: what is sent, what the dialog shows and
// says, and the files OK writes.
class TestMainFormOpenFoodFacts : public MainFormFixture
{
    Q_OBJECT

    QString served(const QByteArray &path) const
    {
        return server->address() + QString::fromLatin1(path);
    }

    // Types into the lookup field and presses Enter there.
    static void lookUp(TNeuForm *dialog, const QString &text)
    {
        dialog->lookupField()->setFocus();
        QTest::keyClicks(dialog->lookupField(), text);
        QTest::keyClick(dialog->lookupField(), Qt::Key_Return);
    }

    static bool idle(TNeuForm *dialog) { return !dialog->productClient()->isBusy(); }

    QStringList entryFiles() const
    {
        return QDir(data->path() + u"Lebensmittel"_s).entryList(QDir::Files);
    }

private Q_SLOTS:
    void init()
    {
        prepare({ { u"Lebensmittel"_s, kBom + kHeader + kRow } });
        server = std::make_unique<TestSupport::LocalHttpServer>();
        Zestrola::Settings::SchreibeRegKey(
            Zestrola::OpenFoodFacts::kServerSetting, server->address());
        start();
        choose(u"Lebensmittel"_s);
    }

    void cleanup()
    {
        tearDown();
        server.reset();
    }

    void barcodeFillsTheEntryAndOkWritesItsFiles()
    {
        const QByteArray photo = jpeg(QSize(600, 400));
        server->setAnswer(kProductPath, { 200, nussCreme(served("/bilder/front_de.jpg")) });
        server->setAnswer("/bilder/front_de.jpg", { 200, photo, "image/jpeg" });
        whileOpen<TNeuForm>([&](TNeuForm *dialog) {
            lookUp(dialog, QString::fromLatin1(kCode));
            QTRY_VERIFY(idle(dialog) && !dialog->photo().isEmpty());
            QCOMPARE(dialog->valueGrid()->cells(),
                (QStringList { u"Nuss-Nougat-Creme, Nuxo"_s, "2252,00", "539,00", "5,39", "30,90",
                    "10,60", "57,50", "56,30", "6,30", "0,11" }));
            QCOMPARE(dialog->nameField()->text(), u"Nuss-Nougat-Creme, Nuxo"_s);
            QVERIFY(dialog->descriptionBox()->toPlainText().startsWith(
                u"Marke: Nuxo\nMenge: 400 g\nStrichcode (EAN): 4001234567891\n"_s));
            auto *view = dialog->findChild<QLabel *>(u"ImageFoto"_s);
            QVERIFY(view->isVisible());
            QCOMPARE(view->pixmap().size(), QSize(160, 106)); // shrunk while decoded
            QVERIFY(dialog->findChild<QLabel *>(u"LabelFotoLizenz"_s)->text().contains("CC BY-SA"));
            QVERIFY(messages().isEmpty());
            dialog->findChild<QPushButton *>(u"OkButton"_s)->click();
        });
        trigger("NeuerEintrag1");

        // The product, then its photo; the program named itself both times.
        QCOMPARE(server->received().size(), 2);
        for (const auto &request : server->received())
            QCOMPARE(request.headers.value("user-agent"), ProductClient::userAgent());
        const QByteArray row = u"Nuss-Nougat-Creme, Nuxo\t2252,00\t539,00\t5,39 \t30,90\t10,60\t"
                               "57,50\t56,30\t6,30 \t0,11"_s.toUtf8();
        QCOMPARE(saved(u"Lebensmittel.txt"_s), kBom + kHeader + kRow + row + "\r\n");
        QCOMPARE(saved(u"Lebensmittel/Nuss-Nougat-Creme, Nuxo.txt"_s),
            kBom + row
                + u"\r\nMarke: Nuxo\r\nMenge: 400 g\r\nStrichcode (EAN): 4001234567891\r\n"
                  "Nutri-Score: E\r\nNOVA-Gruppe: 4\r\nZutaten: Zucker, Palmöl, Haselnüsse 13 %\r\n"
                  "Allergene: Milch, Schalenfrüchte\r\nQuelle: Open Food Facts, "_s.toUtf8()
                + served("/product/" + kCode).toUtf8()
                + " (Daten unter der Open Database License ODbL, Foto unter der Lizenz CC "
                  "BY-SA)\r\n");
        QCOMPARE(saved(u"Lebensmittel/Nuss-Nougat-Creme, Nuxo.jpg"_s), photo);
    }

    void failuresLeaveTheDialogOpenAndWriteNothing_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Answer>("product");
        QTest::addColumn<Answer>("photo");
        QTest::addColumn<int>("requests");
        QTest::addColumn<QString>("cellOne"); // kJ after the lookup
        QTest::addColumn<QString>("message");
        const Answer none(404);
        QTest::newRow("check digit")
            << u"4001234567890"_s << none << none << 0 << u"0,00"_s
            << u"Die Prüfziffer des Strichcodes \"4001234567890\" stimmt nicht. Bitte prüfen Sie "
               "die Eingabe."_s;
        QTest::newRow("not found") << QString::fromLatin1(kCode) << Answer(404, R"({"status":0})")
                                   << none << 1 << u"0,00"_s << Zestrola::OpenFoodFacts::kNotFound;
        QTest::newRow("malformed")
            << QString::fromLatin1(kCode) << Answer(200, "{\"status\":1,") << none << 1 << u"0,00"_s
            << u"Die Antwort von Open Food Facts ist kein gültiges JSON."_s;
        QTest::newRow("photo not a JPEG")
            << QString::fromLatin1(kCode) << Answer()
            << Answer(200, "<html>Foto</html>", "text/html") << 2 << u"2252,00"_s
            << u"Das Foto des Produkts wird nicht übernommen, die übrigen Angaben bleiben "
               "erhalten. Das Foto ist kein gültiges JPEG-Bild."_s;
    }

    void failuresLeaveTheDialogOpenAndWriteNothing()
    {
        QFETCH(QString, typed);
        QFETCH(Answer, product);
        QFETCH(Answer, photo);
        QFETCH(int, requests);
        QFETCH(QString, cellOne);
        QFETCH(QString, message);
        if (product.body.isEmpty())
            product.body = nussCreme(served("/foto.jpg"));
        server->setAnswer(kProductPath, product);
        server->setAnswer("/foto.jpg", photo);
        whileOpen<TNeuForm>([&](TNeuForm *dialog) {
            lookUp(dialog, typed);
            QTRY_COMPARE(messages(), QStringList { message });
            QVERIFY(idle(dialog));
            QVERIFY(dialog->isVisible());
            QCOMPARE(dialog->valueGrid()->cellText(1), cellOne);
            QVERIFY(dialog->photo().isEmpty());
            QVERIFY(!dialog->findChild<QLabel *>(u"ImageFoto"_s)->isVisible());
        });
        trigger("NeuerEintrag1");
        QCOMPARE(server->received().size(), requests);
        QCOMPARE(saved(u"Lebensmittel.txt"_s), kBom + kHeader + kRow);
        QVERIFY(entryFiles().isEmpty());
    }

    void nameSearchShowsHitsToChooseFrom()
    {
        server->setAnswer(
            "/cgi/search.pl", { 200, R"({"count":2,"page":1,"page_size":20,"products":[
            {"code":"4005550001114","product_name":"Apfelsaft klar","brands":"Obsthof","quantity":"1 l"},
            {"code":"4001234567891","product_name":"Nuss-Nougat-Creme","brands":"Nuxo",
             "nutriscore_grade":"e"}]})" });
        server->setAnswer(kProductPath, { 200, nussCreme(served("/foto.jpg")) });
        server->setAnswer("/foto.jpg", { 200, jpeg(QSize(50, 80)), "image/jpeg" });
        whileOpen<TNeuForm>([&](TNeuForm *dialog) {
            lookUp(dialog, u"Nuss Creme"_s);
            auto *hits = dialog->findChild<QListWidget *>(u"ListBoxTreffer"_s);
            QTRY_VERIFY(hits->isVisible());
            QCOMPARE(hits->count(), 2);
            QCOMPARE(hits->item(1)->text(), u"Nuss-Nougat-Creme – Nuxo – Nutri-Score E"_s);
            QCOMPARE(QUrlQuery(QString::fromLatin1(server->received()[0].target.split('?')[1]))
                         .queryItemValue(u"search_terms"_s, QUrl::FullyDecoded),
                u"Nuss Creme"_s);
            hits->setCurrentRow(1);
            QTest::keyClick(hits, Qt::Key_Return); // fetches the hit; OK stays unpressed
            QTRY_VERIFY(idle(dialog) && !dialog->photo().isEmpty());
            QVERIFY(dialog->isVisible());
            QCOMPARE(dialog->nameField()->text(), u"Nuss-Nougat-Creme, Nuxo"_s);
            QCOMPARE(dialog->findChild<QLabel *>(u"ImageFoto"_s)->pixmap().size(), QSize(50, 80));
        });
        trigger("NeuerEintrag1");
        QCOMPARE(server->received().size(), 3);
        QVERIFY(messages().isEmpty());
    }

    // While a request runs the dialog shows it and can stop it; OK waits.
    void runningRequestCanBeStopped()
    {
        server->setAnswer(kProductPath, { 200, {}, "application/json", {}, -1 });
        whileOpen<TNeuForm>([&](TNeuForm *dialog) {
            auto *busy = dialog->findChild<QProgressBar *>(u"ProgressBarAnfrage"_s);
            auto *stop = dialog->findChild<QPushButton *>(u"ButtonAnfrageAbbrechen"_s);
            auto *ok = dialog->findChild<QPushButton *>(u"OkButton"_s);
            QVERIFY(!busy->isVisible() && !stop->isVisible());
            lookUp(dialog, QString::fromLatin1(kCode));
            QTRY_COMPARE(server->received().size(), 1);
            QVERIFY(busy->isVisible() && stop->isVisible() && !ok->isEnabled());
            QCOMPARE(stop->text().remove(u'&'), u"Abbrechen"_s);
            stop->click();
            QVERIFY(!busy->isVisible() && !stop->isVisible() && ok->isEnabled());
            QVERIFY(dialog->isVisible());
            QCOMPARE(dialog->valueGrid()->cellText(0), u"Produktname"_s);
        });
        trigger("NeuerEintrag1");
        QVERIFY(messages().isEmpty());
    }

private:
    std::unique_ptr<TestSupport::LocalHttpServer> server;
};

QTEST_MAIN(TestMainFormOpenFoodFacts)
#include "tst_mainform_openfoodfacts.moc"
