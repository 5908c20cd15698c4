#include "support/FakeRadio.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace zq::test {

namespace {

// Bound of what waits for a query end: a fake never grows without limit.
constexpr qsizetype MaxPending = 4096;

} // namespace

FakeRadio::FakeRadio(Family family, QObject* parent) : QObject(parent), family_(family)
{
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (::openpty(&master_, &slave_, name, &raw, nullptr) != 0) {
        master_ = slave_ = -1;
        return;
    }
    slaveName_ = QString::fromLocal8Bit(name);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    notifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { onReadable(); });
}

FakeRadio::~FakeRadio()
{
    delete notifier_;
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
}

void FakeRadio::writeComPorts(const QString& folder, int port) const
{
    QByteArray text;
    for (int n = 1; n <= 10; ++n) {
        const QString dev = n == port ? slaveName_
                                      : QDir(folder).filePath(QStringLiteral("no-such-tty%1").arg(n));
        text += QStringLiteral("%1=%2\r\n").arg(n).arg(dev).toLocal8Bit();
    }
    QFile f(QDir(folder).filePath(QStringLiteral("ComPorts.txt")));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(text);
}

QByteArray FakeRadio::receivedBytes() const
{
    QByteArray all;
    for (const Chunk& c : chunks_)
        all += c.bytes;
    return all;
}

unsigned FakeRadio::lineCFlags() const
{
    termios t{};
    return slave_ >= 0 && ::tcgetattr(slave_, &t) == 0 ? static_cast<unsigned>(t.c_cflag) : 0;
}

unsigned FakeRadio::lineIFlags() const
{
    termios t{};
    return slave_ >= 0 && ::tcgetattr(slave_, &t) == 0 ? static_cast<unsigned>(t.c_iflag) : 0;
}

void FakeRadio::clearRecord()
{
    chunks_.clear();
    queries_.clear();
    pending_.clear();
}

void FakeRadio::setListening(bool on)
{
    if (notifier_)
        notifier_->setEnabled(on);
    if (on)
        onReadable();
}

void FakeRadio::send(const QByteArray& b)
{
    writeNow(b);
}

void FakeRadio::hangUp()
{
    delete notifier_;
    notifier_ = nullptr;
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
    master_ = slave_ = -1;
}

void FakeRadio::onReadable()
{
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0) {
            // EIO: no one holds the slave open (we do, so this is rare);
            // stop listening until something arrives again.
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                notifier_->setEnabled(false);
            break;
        }
        const QByteArray got(buf, static_cast<qsizetype>(n));
        chunks_.append({std::chrono::steady_clock::now(), got});
        pending_ += got;
        if (pending_.size() > MaxPending)
            pending_ = pending_.right(MaxPending);
    }
    takeQueries();
}

void FakeRadio::takeQueries()
{
    auto cutAt = [this](char end) {
        qsizetype i;
        while ((i = pending_.indexOf(end)) >= 0) {
            const QByteArray q = pending_.left(i + 1);
            pending_.remove(0, i + 1);
            reply(q);
        }
    };
    switch (family_) {
    case Family::Kenwood: cutAt(';'); break;
    case Family::Icom: cutAt(static_cast<char>(0xFD)); break;
    case Family::TenTecPanel:
    case Family::Orion: cutAt('\r'); break;
    case Family::Yaesu:
        while (pending_.size() >= 5) {
            const QByteArray q = pending_.left(5);
            pending_.remove(0, 5);
            reply(q);
        }
        break;
    case Family::Raw: {
        const QByteArray q = pending_;
        pending_.clear();
        if (!q.isEmpty())
            reply(q);
        break;
    }
    }
}

void FakeRadio::reply(const QByteArray& query)
{
    queries_.append(query);
    QByteArray answer;
    if (responder)
        answer = responder(query);
    else if (answers_.contains(query))
        answer = answers_.value(query);
    else
        answer = defaultAnswer(family_, query);

    // A CI-V radio echoes every frame on the shared line, answered or not.
    const QByteArray echo = family_ == Family::Icom ? query : QByteArray();
    if (!echo.isEmpty())
        writeNow(echo);
    if (answer.isEmpty() || fault_ == Fault::Silent)
        return;

    QPointer<FakeRadio> self(this);
    auto later = [self](int ms, QByteArray b) {
        QTimer::singleShot(ms, self, [self, b] {
            if (self)
                self->writeNow(b);
        });
    };
    const qsizetype half = answer.size() / 2;
    switch (fault_) {
    case Fault::None: writeNow(answer); break;
    case Fault::Late: later(lateMs_, answer); break;
    case Fault::Short: writeNow(answer.left(half)); break;
    case Fault::Split:
        writeNow(answer.left(half));
        later(lateMs_, answer.mid(half));
        break;
    case Fault::Garbage: writeNow(garbage_ + answer); break;
    case Fault::Junk: writeNow(garbage_); break;
    case Fault::Silent: break;
    }
}

void FakeRadio::writeNow(const QByteArray& b)
{
    qsizetype done = 0;
    QElapsedTimer t;
    t.start();
    // A program that stops reading fills the line; the rest is dropped.
    while (master_ >= 0 && done < b.size() && t.elapsed() < 200) {
        const ssize_t n = ::write(master_, b.constData() + done, static_cast<size_t>(b.size() - done));
        if (n > 0)
            done += n;
        else if (n < 0 && errno != EAGAIN && errno != EINTR)
            break;
        else
            QThread::usleep(200);
    }
}

QByteArray FakeRadio::defaultAnswer(Family family, const QByteArray& q)
{
    switch (family) {
    case Family::Kenwood:
        if (q == "FA;")
            return "FA00014250000;";
        if (q == "MD;")
            return "MD3;";
        if (q == "IF;") {
            // IF, 11 frequency digits, 16 status characters, then the mode
            // (3 = CW) and the VFO (0 = A) at the fixed places, and the rest.
            return "IF00014250000     +0000000000" "30" "0000 ;";
        }
        return {};
    case Family::Icom:
        if (q.size() == 6 && static_cast<uchar>(q[0]) == 0xFE && static_cast<uchar>(q[1]) == 0xFE) {
            const int to = static_cast<uchar>(q[2]);
            const int from = static_cast<uchar>(q[3]);
            if (q[4] == 0x03)
                return bytesOf({0xFE, 0xFE, from, to, 0x03, 0x00, 0x00, 0x25, 0x14, 0x00, 0xFD});
            if (q[4] == 0x04)
                return bytesOf({0xFE, 0xFE, from, to, 0x04, 0x03, 0x01, 0xFD});
        }
        return {};
    case Family::Yaesu:
        if (q == bytesOf({0, 0, 0, 0, 0x03}))
            return bytesOf({0x01, 0x42, 0x50, 0x00, 0x82}); // 14.25 MHz, CW
        if (q == bytesOf({0, 0, 0, 0, 0x10})) // status block: frequency in bytes 6-9, mode in 10
            return bytesOf({0, 0, 0, 0, 0, 0x00, 0x50, 0x42, 0x01, 0x02, 0, 0, 0, 0, 0, 0, 0, 0});
        if (q == bytesOf({0, 0, 0, 2, 0x10})) // status block: frequency in bytes 3-5, mode in byte 8
            return bytesOf({0x00, 0x00, 0x15, 0xBE, 0x68, 0x00, 0x00, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        return {};
    case Family::TenTecPanel:
        if (q == "?A\r")
            return bytesOf({'A', 0x00, 0xD9, 0x70, 0x10, 0x0D}); // 14,250,000 Hz
        if (q == "?M\r")
            return bytesOf({'M', 0x33, 0x33, 0x0D}); // CW
        return {};
    case Family::Orion:
        if (q == "?AF\r")
            return "@AF14250000\r";
        if (q == "?RMM\r")
            return "@RMM3\r";
        return {};
    case Family::Raw: return {};
    }
    return {};
}

bool pumpUntil(const std::function<bool()>& done, int maxMs)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > maxMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

void pumpFor(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}

} // namespace zq::test
