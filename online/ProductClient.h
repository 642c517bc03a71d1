// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "online/OpenFoodFacts.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <chrono>

class QNetworkAccessManager;
class QNetworkReply;

// Asks Open Food Facts, one request at a time and only when told to: a
// product by its code, a full-text search, a product's photo. Every
// request is asynchronous, carries the program's User-Agent, follows at
// most a few redirects, gives up after 20 seconds and reads no more than
// the answer may hold. The server is the settings value
// `OpenFoodFactsAdresse`, read anew for every request. Each request ends
// in exactly one of the result signals or failed(), unless cancelled.
class ProductClient : public QObject
{
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kTimeout { 20'000 };
    static constexpr int kMostRedirects = 5;

    explicit ProductClient(QObject *parent = nullptr);
    ~ProductClient() override;

    // "Zestrola/<version> (<project address>)", as Open Food Facts asks
    // every program to name itself.
    static QByteArray userAgent();

    void fetchProduct(const QString &code);
    void search(const QString &words);
    void fetchPhoto(const QUrl &url);
    // Drops the running request; none of the signals follows for it.
    void cancel();
    bool isBusy() const { return m_reply != nullptr; }

    // For tests, which cannot wait 20 seconds.
    void setTimeout(std::chrono::milliseconds timeout) { m_deadline.setInterval(timeout); }

Q_SIGNALS:
    void busyChanged(bool busy);
    void productFound(const Zestrola::OpenFoodFacts::Product &product, const QString &pageAddress);
    void hitsFound(const QList<Zestrola::OpenFoodFacts::SearchHit> &hits);
    void photoLoaded(const QByteArray &jpegBytes);
    void failed(const QString &message); // German, names the cause

private:
    // The server of the settings value; false and failed() when it is none.
    bool readServer();
    // Ends the running request without a word; false when there is none.
    bool dropReply();
    void start(Zestrola::OpenFoodFacts::Request request, const QUrl &url);
    void readAnswer();
    void finish();
    void stop(bool timedOut);
    void deliver(const QByteArray &body);

    QNetworkAccessManager *m_network;
    QPointer<QNetworkReply> m_reply;
    Zestrola::OpenFoodFacts::Request m_request = Zestrola::OpenFoodFacts::Request::Product;
    QUrl m_server;
    QString m_code;
    QByteArray m_body;
    QTimer m_deadline;
    bool m_timedOut = false;
    bool m_tooLarge = false;
};
