// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class QTcpServer;
class QTcpSocket;

namespace TestSupport {

// A small HTTP/1.1 server on 127.0.0.1 for the tests of the network code:
// nothing a test sends leaves this machine. Each path (without its query)
// gets the answer set for it; any other path gets 404. One request per
// connection. Every request is recorded.
class LocalHttpServer : public QObject
{
public:
    struct Answer
    {
        Answer(int status = 200, QByteArray body = {}, QByteArray contentType = "application/json",
            QList<std::pair<QByteArray, QByteArray>> headers = {}, int delayMs = 0)
            : status(status)
            , body(std::move(body))
            , contentType(std::move(contentType))
            , headers(std::move(headers))
            , delayMs(delayMs)
        { }
        int status;
        QByteArray body;
        QByteArray contentType;
        QList<std::pair<QByteArray, QByteArray>> headers;
        int delayMs; // < 0: never answers
    };
    struct Received
    {
        QByteArray target; // path and query as sent
        QHash<QByteArray, QByteArray> headers; // names lower-cased
    };

    LocalHttpServer();
    ~LocalHttpServer() override;

    // "http://127.0.0.1:<port>"
    QString address() const;
    void setAnswer(const QByteArray &path, const Answer &answer);
    // A redirect (302) from `path` to `location`.
    void setRedirect(const QByteArray &path, const QByteArray &location);
    const QList<Received> &received() const { return m_received; }

private:
    void accept();
    void read(QTcpSocket *socket);
    void respond(QTcpSocket *socket, const Answer &answer);

    QTcpServer *m_server;
    QHash<QByteArray, Answer> m_answers;
    QList<Received> m_received;
};

} // namespace TestSupport
