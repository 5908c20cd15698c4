#include "support/FakeCluster.h"

#include <QTest>

namespace zq::test {

FakeCluster::FakeCluster(QByteArray loginPrompt) : loginPrompt_(std::move(loginPrompt))
{
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* s = server_.nextPendingConnection()) {
            if (client_)
                client_->abort();
            client_ = s;
            connect(s, &QTcpSocket::readyRead, this, [this, s] { received_ += s->readAll(); });
            s->write(loginPrompt_);
        }
    });
}

bool FakeCluster::waitForClient(int ms)
{
    return QTest::qWaitFor([this] { return hasClient(); }, ms);
}

bool FakeCluster::waitForReceived(qsizetype n, int ms)
{
    return QTest::qWaitFor([this, n] { return received_.size() >= n; }, ms);
}

void FakeCluster::send(const QByteArray& bytes)
{
    if (client_) {
        client_->write(bytes);
        client_->flush();
    }
}

void FakeCluster::closeClient()
{
    if (client_)
        client_->disconnectFromHost();
}

QByteArray FakeCluster::spotLine(const char* spotter, const char* kHz, const char* call,
                                 const char* comment, const char* time)
{
    // "DX de " and the spotter with its colon fill columns 1-15, the
    // frequency 16-24 (right-aligned), the call 27-39, the comment 40-70.
    QByteArray line = "DX de " + QByteArray(spotter) + ':';
    line = line.leftJustified(15, ' ', true);
    line += QByteArray(kHz).rightJustified(9, ' ', true);
    line += "  ";
    line += QByteArray(call).leftJustified(13, ' ', true);
    line += QByteArray(comment).leftJustified(31, ' ', true);
    line += time;
    return line + "\r\n";
}

} // namespace zq::test
