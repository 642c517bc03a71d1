// SPDX-License-Identifier: GPL-3.0-or-later
#include "online/ProductClient.h"

#include "model/Settings.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

using namespace Zestrola;
using namespace Zestrola::OpenFoodFacts;

ProductClient::ProductClient(QObject *parent)
    : QObject(parent)
    , m_network(new QNetworkAccessManager(this))
{
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(kTimeout);
    connect(&m_deadline, &QTimer::timeout, this, [this] { stop(true); });
}

// Whoever listens may be half destroyed already: nothing is signalled.
ProductClient::~ProductClient()
{
    dropReply();
}

QByteArray ProductClient::userAgent()
{
    return QByteArrayLiteral("Zestrola/" ZESTROLA_VERSION " (" ZESTROLA_PROJECT_ADDRESS ")");
}

bool ProductClient::readServer()
{
    const QString setting = Settings::LeseRegKey(kServerSetting);
    m_server = serverFromSetting(setting);
    if (!m_server.isValid())
        emit failed(invalidServerMessage(setting));
    return m_server.isValid();
}

void ProductClient::fetchProduct(const QString &code)
{
    if (!isProductCode(code) || !readServer())
        return;
    m_code = code;
    start(Request::Product, productUrl(m_server, code));
}

void ProductClient::search(const QString &words)
{
    if (readServer())
        start(Request::Search, searchUrl(m_server, words));
}

void ProductClient::fetchPhoto(const QUrl &url)
{
    start(Request::Photo, url);
}

void ProductClient::cancel()
{
    if (dropReply())
        emit busyChanged(false);
}

bool ProductClient::dropReply()
{
    if (!m_reply)
        return false;
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    m_deadline.stop();
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
    return true;
}

void ProductClient::start(Request request, const QUrl &url)
{
    cancel();
    QNetworkRequest networkRequest(url);
    networkRequest.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
    if (request != Request::Photo)
        networkRequest.setRawHeader("Accept", "application/json");
    // Redirects within http and https, never from https down to http.
    networkRequest.setAttribute(
        QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    networkRequest.setMaximumRedirectsAllowed(kMostRedirects);
    m_request = request;
    m_body.clear();
    m_timedOut = m_tooLarge = false;
    m_reply = m_network->get(networkRequest);
    connect(m_reply, &QNetworkReply::readyRead, this, &ProductClient::readAnswer);
    connect(m_reply, &QNetworkReply::finished, this, &ProductClient::finish);
    m_deadline.start();
    emit busyChanged(true);
}

// Reads as the answer comes, so that an answer larger than it may be is
// stopped before it fills the memory.
void ProductClient::readAnswer()
{
    m_body += m_reply->readAll();
    const qint64 most = m_request == Request::Photo ? kMaxPhotoBytes : kMaxAnswerBytes;
    if (m_body.size() > most) {
        m_tooLarge = true;
        stop(false);
    }
}

void ProductClient::stop(bool timedOut)
{
    m_timedOut = timedOut;
    if (m_reply)
        m_reply->abort(); // finishes the reply, which reports why
}

void ProductClient::finish()
{
    QNetworkReply *reply = m_reply;
    if (!reply)
        return;
    m_reply = nullptr;
    m_deadline.stop();
    reply->deleteLater();
    if (!m_tooLarge && !m_timedOut)
        m_body += reply->readAll();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    QString message;
    if (m_tooLarge)
        message = tooLargeMessage(m_request);
    else if (m_timedOut)
        message = timeoutMessage(m_request);
    else
        message = failureMessage(m_request, reply->error(), status, reply->url().host());
    emit busyChanged(false);
    if (!message.isEmpty()) {
        emit failed(message);
        return;
    }
    deliver(std::exchange(m_body, {}));
}

void ProductClient::deliver(const QByteArray &body)
{
    switch (m_request) {
    case Request::Product: {
        const ProductAnswer answer = parseProductAnswer(body);
        if (answer.status == ProductAnswer::Found)
            emit productFound(answer.product, productPageAddress(m_server, m_code));
        else
            emit failed(answer.message);
        break;
    }
    case Request::Search: {
        const SearchAnswer answer = parseSearchAnswer(body);
        if (answer.readable)
            emit hitsFound(answer.hits);
        else
            emit failed(answer.message);
        break;
    }
    case Request::Photo:
        emit photoLoaded(body);
        break;
    }
}
