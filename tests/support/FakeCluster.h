#pragma once
// A DX cluster node on a loopback port: greets a new client with its login
// prompt, records what the client sends, and sends text as told (spot
// lines, keep-alives, partial lines), or drops the client.

#include <QByteArray>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

namespace zq::test {

class FakeCluster : public QObject {
    Q_OBJECT
public:
    explicit FakeCluster(QByteArray loginPrompt = "login: ");
    quint16 port() const { return server_.serverPort(); }
    QString portText() const { return QString::number(port()); }

    bool hasClient() const
    {
        return client_ && client_->state() == QAbstractSocket::ConnectedState;
    }
    // Waits (events running) until a client is connected and greeted.
    bool waitForClient(int ms = 3000);
    // Waits until the client has sent at least `n` bytes.
    bool waitForReceived(qsizetype n, int ms = 3000);
    const QByteArray& received() const { return received_; }

    void send(const QByteArray& bytes);
    // Closes the client's connection as the node does on "bye".
    void closeClient();
    // Stops listening: a new connection is then refused.
    void stopListening() { server_.close(); }

    // A spot line in the cluster's fixed columns, ended by CR LF.
    static QByteArray spotLine(const char* spotter, const char* kHz, const char* call,
                               const char* comment = "", const char* time = "1234Z");

private:
    QTcpServer server_;
    QPointer<QTcpSocket> client_;
    QByteArray loginPrompt_;
    QByteArray received_;
};

} // namespace zq::test
