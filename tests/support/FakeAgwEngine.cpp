#include "support/FakeAgwEngine.h"

namespace zq::test {

FakeAgwEngine::FakeAgwEngine()
{
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* s = server_.nextPendingConnection()) {
            if (client_)
                client_->abort();
            client_ = s;
            buffer_.clear();
            connect(s, &QTcpSocket::readyRead, this, &FakeAgwEngine::onReadyRead);
        }
    });
}

void FakeAgwEngine::useForLink()
{
    AgwEngine::setEndpointForTesting(QStringLiteral("127.0.0.1"), port());
}

QList<char> FakeAgwEngine::receivedKinds() const
{
    QList<char> out;
    for (const AgwFrame& f : received_)
        out.append(f.kind);
    return out;
}

AgwFrame FakeAgwEngine::frame(char kind, const char* from, const char* to, const QByteArray& data)
{
    AgwFrame f;
    f.kind = kind;
    f.callFrom = from;
    f.callTo = to;
    f.data = data;
    f.pid = 0xF0;
    return f;
}

void FakeAgwEngine::sendFrame(const AgwFrame& f)
{
    sendRaw(encodeAgwFrame(f));
}

void FakeAgwEngine::sendRaw(const QByteArray& bytes)
{
    if (client_)
        client_->write(bytes);
}

void FakeAgwEngine::dropClient()
{
    if (client_)
        client_->abort();
}

void FakeAgwEngine::onReadyRead()
{
    buffer_ += client_->readAll();
    std::deque<AgwFrame> got;
    takeAgwFrames(buffer_, got);
    for (AgwFrame& f : got) {
        if (f.kind == 'X' && registration != Registration::Silent) {
            AgwFrame answer = f;
            answer.data = QByteArray(1, registration == Registration::Accept ? '\x01' : '\x00');
            sendFrame(answer);
        }
        received_.push_back(std::move(f));
        emit frameReceived();
    }
}

} // namespace zq::test
