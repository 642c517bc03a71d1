// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocalHttpServer.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace TestSupport {

namespace {

QByteArray reason(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 302:
        return "Found";
    case 404:
        return "Not Found";
    case 429:
        return "Too Many Requests";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

} // namespace

LocalHttpServer::LocalHttpServer()
    : m_server(new QTcpServer(this))
{
    if (!m_server->listen(QHostAddress::LocalHost))
        qFatal("local HTTP server: %s", qPrintable(m_server->errorString()));
    connect(m_server, &QTcpServer::newConnection, this, &LocalHttpServer::accept);
}

LocalHttpServer::~LocalHttpServer() = default;

QString LocalHttpServer::address() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_server->serverPort());
}

void LocalHttpServer::setAnswer(const QByteArray &path, const Answer &answer)
{
    m_answers.insert(path, answer);
}

void LocalHttpServer::setRedirect(const QByteArray &path, const QByteArray &location)
{
    setAnswer(path, { 302, {}, "text/plain", { { "Location", location } } });
}

void LocalHttpServer::accept()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void LocalHttpServer::read(QTcpSocket *socket)
{
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    const qsizetype end = request.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    const QList<QByteArray> lines = request.first(end).split('\n');
    Received received;
    received.target = lines.value(0).split(' ').value(1);
    for (const QByteArray &line : lines.mid(1)) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            received.headers.insert(
                line.first(colon).trimmed().toLower(), line.sliced(colon + 1).trimmed());
    }
    m_received.append(received);
    const QByteArray path = received.target.split('?').value(0);
    const Answer answer = m_answers.value(path, Answer { 404, "{}" });
    if (answer.delayMs < 0)
        return;
    QTimer::singleShot(answer.delayMs, socket, [this, socket, answer] { respond(socket, answer); });
}

void LocalHttpServer::respond(QTcpSocket *socket, const Answer &answer)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(answer.status) + ' ' + reason(answer.status)
        + "\r\nContent-Type: " + answer.contentType + "\r\nContent-Length: "
        + QByteArray::number(answer.body.size()) + "\r\nConnection: close\r\n";
    for (const auto &[name, value] : answer.headers)
        head += name + ": " + value + "\r\n";
    socket->write(head + "\r\n" + answer.body);
    socket->disconnectFromHost();
}

} // namespace TestSupport
