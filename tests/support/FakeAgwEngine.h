#pragma once
// A packet engine on a loopback port: records the frames a client sends,
// answers the call registration as told, and sends frames of its own.

#include "platform/AgwEngine.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QPointer>
#include <vector>

namespace zq::test {

class FakeAgwEngine : public QObject {
    Q_OBJECT
public:
    enum class Registration { Accept, Refuse, Silent };

    FakeAgwEngine();
    quint16 port() const { return server_.serverPort(); }
    // Points the program's AGW link at this engine.
    void useForLink();

    Registration registration = Registration::Accept;

    // Frames received from the client, in order.
    const std::vector<AgwFrame>& received() const { return received_; }
    QList<char> receivedKinds() const;
    bool hasClient() const { return client_ && client_->state() == QAbstractSocket::ConnectedState; }

    void sendFrame(const AgwFrame& f);
    void sendRaw(const QByteArray& bytes);
    void dropClient();
    // A frame of `kind` from `from` to `to` with `data`.
    static AgwFrame frame(char kind, const char* from, const char* to, const QByteArray& data);

signals:
    void frameReceived();

private:
    void onReadyRead();

    QTcpServer server_;
    QPointer<QTcpSocket> client_;
    QByteArray buffer_;
    std::vector<AgwFrame> received_;
};

} // namespace zq::test
