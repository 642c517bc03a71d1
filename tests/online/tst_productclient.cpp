// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocalHttpServer.h"
#include "TestSupport.h"
#include "model/Settings.h"
#include "online/ProductClient.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

using namespace Zestrola;
using namespace Zestrola::OpenFoodFacts;
using namespace Qt::StringLiterals;
using Answer = TestSupport::LocalHttpServer::Answer;

Q_DECLARE_METATYPE(TestSupport::LocalHttpServer::Answer)

namespace {

const QByteArray kCode = "4001234567891";
const QByteArray kProductPath = "/api/v2/product/" + kCode;
const QByteArray kFound = R"({"code":"4001234567891","status":1,"status_verbose":"product found",
    "product":{"code":"4001234567891","product_name":"Apfelsaft","nutriments":{"energy-kcal_100g":46}}})";

// What a request ended in: the result or the message of failed().
struct Outcome
{
    QString result; // "product <name>", "hits <count>", "photo <bytes>"
    QString message;
};

} // namespace

// The client against a real HTTP server on this machine: what it sends,
// and what every kind of answer turns into.
class TestProductClient : public QObject
{
    Q_OBJECT

    // Runs `request` and waits until it has ended.
    Outcome run(const std::function<void(ProductClient &)> &request)
    {
        Outcome outcome;
        bool ended = false;
        auto end = [&](const QString &result, const QString &message) {
            outcome = { result, message };
            ended = true;
        };
        connect(m_client.get(), &ProductClient::productFound, this,
            [&](const Product &p) { end(u"product "_s + p.name, {}); });
        connect(m_client.get(), &ProductClient::hitsFound, this,
            [&](const QList<SearchHit> &hits) { end(u"hits %1"_s.arg(hits.size()), {}); });
        connect(m_client.get(), &ProductClient::photoLoaded, this,
            [&](const QByteArray &bytes) { end(u"photo %1"_s.arg(bytes.size()), {}); });
        connect(m_client.get(), &ProductClient::failed, this,
            [&](const QString &message) { end({}, message); });
        request(*m_client);
        if (!ended)
            [&] { QTRY_VERIFY_WITH_TIMEOUT(ended, 10000); }();
        m_client->disconnect(this);
        return outcome;
    }

private Q_SLOTS:
    void init()
    {
        TestSupport::isolateSettings();
        m_server = std::make_unique<TestSupport::LocalHttpServer>();
        QVERIFY(Settings::SchreibeRegKey(kServerSetting, m_server->address()));
        m_client = std::make_unique<ProductClient>();
    }

    void cleanup()
    {
        m_client.reset();
        m_server.reset();
    }

    void answers_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("request"); // "product", "search" or "photo"
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("requests"); // redirects included

        QTest::newRow("found") << kProductPath << Answer { 200, kFound } << "product"
                               << "product Apfelsaft" << QString() << 1;
        QTest::newRow("not found")
            << kProductPath
            << Answer { 404,
                   R"({"code":"4001234567891","status":0,"status_verbose":"product not found"})" }
            << "product" << QString() << kNotFound << 1;
        QTest::newRow("not found, status 0 with 200")
            << kProductPath << Answer { 200, R"({"status":0})" } << "product" << QString()
            << kNotFound << 1;
        QTest::newRow("rate limit")
            << kProductPath << Answer { 429, "Too many requests", "text/plain" } << "product"
            << QString()
            << u"Open Food Facts hat gerade zu viele Anfragen erhalten (Fehler 429). Bitte warten "
               "Sie eine Minute und versuchen Sie es dann noch einmal."_s
            << 1;
        QTest::newRow("overload") << QByteArray("/cgi/search.pl") << Answer { 503, "<html/>" }
                                  << "search" << QString()
                                  << u"Open Food Facts ist gerade überlastet (Fehler 503). Bitte "
                                     "versuchen Sie es in einigen Minuten noch einmal."_s
                                  << 1;
        QTest::newRow("malformed JSON")
            << kProductPath << Answer { 200, kFound.chopped(3) } << "product" << QString()
            << u"Die Antwort von Open Food Facts ist kein gültiges JSON."_s << 1;
        QTest::newRow("oversized answer")
            << kProductPath << Answer { 200, QByteArray(kMaxAnswerBytes + 1, ' ') } << "product"
            << QString()
            << u"Die Antwort von Open Food Facts ist größer als 2 MB und wird nicht gelesen."_s
            << 1;
        QTest::newRow("search hits")
            << QByteArray("/cgi/search.pl")
            << Answer { 200, R"({"count":1,"products":[{"code":"4001234567891"}]})" } << "search"
            << "hits 1" << QString() << 1;
        QTest::newRow("photo") << QByteArray("/bild.jpg")
                               << Answer { 200, QByteArray(kMaxPhotoBytes, 'j'), "image/jpeg" }
                               << "photo" << u"photo %1"_s.arg(kMaxPhotoBytes) << QString() << 1;
        QTest::newRow("oversized photo")
            << QByteArray("/bild.jpg")
            << Answer { 200, QByteArray(kMaxPhotoBytes + 1, 'j'), "image/jpeg" } << "photo"
            << QString()
            << u"Das Foto des Produkts wird nicht übernommen, die übrigen Angaben bleiben "
               "erhalten. Das Foto ist größer als 10 MB."_s
            << 1;
    }

    void answers()
    {
        QFETCH(QByteArray, path);
        QFETCH(Answer, answer);
        QFETCH(QString, request);
        QFETCH(QString, result);
        QFETCH(QString, message);
        QFETCH(int, requests);
        m_server->setAnswer(path, answer);
        QSignalSpy busy(m_client.get(), &ProductClient::busyChanged);
        const Outcome outcome = run([&](ProductClient &client) {
            if (request == u"product")
                client.fetchProduct(QString::fromLatin1(kCode));
            else if (request == u"search")
                client.search(u"Apfelsaft naturtrüb"_s);
            else
                client.fetchPhoto(QUrl(m_server->address() + QString::fromLatin1(path)));
        });
        QCOMPARE(outcome.result, result);
        QCOMPARE(outcome.message, message);
        QCOMPARE(m_server->received().size(), requests);
        QCOMPARE(busy.size(), 2); // on, then off
        QVERIFY(!m_client->isBusy());
        const auto &sent = m_server->received().constFirst();
        QCOMPARE(sent.headers.value("user-agent"), ProductClient::userAgent());
        if (request == u"product")
            QVERIFY(
                sent.target.startsWith(QByteArray(kProductPath + "?fields=code,product_name,")));
    }

    void userAgentNamesProgramVersionAndAddress()
    {
        QVERIFY(QRegularExpression(u"^Zestrola/2020\\.3 \\(https://[^ ]+\\)$"_s)
                    .match(QString::fromLatin1(ProductClient::userAgent()))
                    .hasMatch());
    }

    void redirects()
    {
        m_server->setRedirect(kProductPath, "/neu");
        m_server->setAnswer("/neu", { 200, kFound });
        const Outcome moved
            = run([](ProductClient &c) { c.fetchProduct(QString::fromLatin1(kCode)); });
        QCOMPARE(moved.result, u"product Apfelsaft"_s);
        QCOMPARE(m_server->received().size(), 2);

        m_server->setRedirect(kProductPath, kProductPath);
        const Outcome loop
            = run([](ProductClient &c) { c.fetchProduct(QString::fromLatin1(kCode)); });
        QCOMPARE(loop.message,
            u"Der Server \"127.0.0.1\" leitet die Anfrage immer wieder weiter "
            "(Umleitungsschleife)."_s);
        QCOMPARE(m_server->received().size(), 2 + 1 + ProductClient::kMostRedirects);
    }

    // A slow answer: the user stops it, or the time runs out.
    void slowAnswers()
    {
        m_server->setAnswer(kProductPath, { 200, kFound, "application/json", {}, -1 });
        QSignalSpy failed(m_client.get(), &ProductClient::failed);
        QSignalSpy found(m_client.get(), &ProductClient::productFound);
        m_client->fetchProduct(QString::fromLatin1(kCode));
        QTRY_COMPARE(m_server->received().size(), 1);
        QVERIFY(m_client->isBusy());
        m_client->cancel();
        QVERIFY(!m_client->isBusy());
        QTest::qWait(50);
        QCOMPARE(failed.size() + found.size(), 0); // stopping is no failure

        // A client that goes while asking says nothing to whoever listened.
        int busySignals = 0;
        connect(m_client.get(), &ProductClient::busyChanged, this, [&] { ++busySignals; });
        m_client->fetchProduct(QString::fromLatin1(kCode));
        m_client = std::make_unique<ProductClient>();
        QCOMPARE(busySignals, 1);

        m_client->setTimeout(std::chrono::milliseconds(200));
        const Outcome late
            = run([](ProductClient &c) { c.fetchProduct(QString::fromLatin1(kCode)); });
        QCOMPARE(late.message,
            u"Open Food Facts hat nicht innerhalb von 20 Sekunden geantwortet. Bitte versuchen "
            "Sie es später noch einmal."_s);
    }

    // Nothing is sent to an address that is not one, and a server that is
    // not there is named.
    void serverSetting()
    {
        QVERIFY(Settings::SchreibeRegKey(kServerSetting, u"world.openfoodfacts"_s));
        const Outcome invalid = run([](ProductClient &c) { c.search(u"Saft"_s); });
        QCOMPARE(invalid.message, invalidServerMessage(u"world.openfoodfacts"_s));
        QVERIFY(m_server->received().isEmpty());

        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();
        QVERIFY(Settings::SchreibeRegKey(kServerSetting, u"http://127.0.0.1:%1"_s.arg(port)));
        const Outcome refused
            = run([](ProductClient &c) { c.fetchProduct(QString::fromLatin1(kCode)); });
        QCOMPARE(refused.message,
            u"Keine Verbindung zum Server \"127.0.0.1\". Bitte prüfen Sie die "
            "Internetverbindung."_s);
    }

private:
    std::unique_ptr<TestSupport::LocalHttpServer> m_server;
    std::unique_ptr<ProductClient> m_client;
};

QTEST_GUILESS_MAIN(TestProductClient)
#include "tst_productclient.moc"
