#include "support/FakeWaveBackend.h"

#include "platform/EventHold.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace zq::test {
namespace {
void put16(QByteArray& b, int v)
{
    b += char(v & 0xFF);
    b += char((v >> 8) & 0xFF);
}
void put32(QByteArray& b, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b += char((v >> (8 * i)) & 0xFF);
}
std::shared_ptr<FakeWaveBackend::World> g_world;
} // namespace

QByteArray makeWaveFile(int ms, int rate, int channels, int bits)
{
    const int frame = channels * bits / 8;
    const quint32 data = quint32(qint64(rate) * ms / 1000 * frame);
    QByteArray b = "RIFF";
    put32(b, 36 + data);
    b += "WAVEfmt ";
    put32(b, 16);
    put16(b, bits == 32 ? 3 : 1);
    put16(b, channels);
    put32(b, quint32(rate));
    put32(b, quint32(rate * frame));
    put16(b, frame);
    put16(b, bits);
    b += "data";
    put32(b, data);
    b += QByteArray(qsizetype(data), bits == 8 ? '\x80' : '\0');
    return b;
}

FakeWaveBackend::Install::Install() : owner(std::make_shared<World>()), world(*owner)
{
    g_world = owner;
    setWaveBackendFactoryForTesting([] { return std::make_unique<FakeWaveBackend>(g_world); });
}

FakeWaveBackend::Install::~Install()
{
    setWaveBackendFactoryForTesting({});
    // Devices may outlive the test's scope in a window being unloaded; they
    // hold the world themselves.
    g_world.reset();
}

std::vector<FakeWaveBackend*>& FakeWaveBackend::live()
{
    static std::vector<FakeWaveBackend*> v;
    return v;
}

FakeWaveBackend::~FakeWaveBackend()
{
    auto& v = live();
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
}

bool FakeWaveBackend::open(const QString& path, QString* reason)
{
    if (std::find(live().begin(), live().end(), this) == live().end())
        live().push_back(this);
    world_.calls << QStringLiteral("open ") + QFileInfo(path).fileName();
    file_ = QFileInfo(path).fileName();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const auto fmt = parseWaveHeader(f.readAll(), reason);
    if (!fmt)
        return false;
    fileLength_ = fmt->duration;
    return true;
}

bool FakeWaveBackend::play(QString* reason)
{
    world_.calls << QStringLiteral("play");
    if (world_.failPlay) {
        *reason = WaveDevice::noOutputReason();
        WaveDevice::noteNoOutput();
        return false;
    }
    cutIfPlaying();
    started_ = std::chrono::steady_clock::now();
    length_ = fileLength_ + world_.startDelay;
    playing_ = true;
    if (!end_) {
        end_ = std::make_unique<QTimer>();
        end_->setSingleShot(true);
        EventHold::keepRunning(end_.get());
        QObject::connect(end_.get(), &QTimer::timeout, [this] {
            if (!playing_)
                return;
            playing_ = false;
            if (ended)
                ended();
        });
    }
    end_->start(length_);
    return true;
}

void FakeWaveBackend::cutIfPlaying()
{
    if (isPlaying())
        world_.cut << file_;
    playing_ = false;
    if (end_)
        end_->stop();
}

void FakeWaveBackend::stop()
{
    world_.calls << QStringLiteral("stop");
    cutIfPlaying();
}

void FakeWaveBackend::close()
{
    world_.calls << QStringLiteral("close");
    cutIfPlaying();
}

bool FakeWaveBackend::isPlaying()
{
    return playing_ && std::chrono::steady_clock::now() - started_ < length_;
}

void FakeWaveBackend::finishAll(World& w)
{
    for (FakeWaveBackend* b : live())
        if (&b->world_ == &w && b->playing_) {
            b->playing_ = false;
            if (b->end_)
                b->end_->stop();
            if (b->ended)
                b->ended();
        }
}

FakeServerOutput::FakeServerOutput(const WaveFormat& f, std::chrono::milliseconds startDelay,
                                   std::chrono::milliseconds lead, Record& record)
    : format_(f), startDelay_(startDelay), lead_(lead), record_(record)
{
    drained_.setSingleShot(true);
    connect(&drained_, &QTimer::timeout, this, [this] {
        if (source_)
            source_->readAll(); // the last data handed over
        setState(QAudio::IdleState);
    });
}

void FakeServerOutput::start(QIODevice* source)
{
    source_ = source;
    started_ = std::chrono::steady_clock::now();
    setState(QAudio::ActiveState);
    drained_.start(std::max(std::chrono::milliseconds(0), startDelay_ + format_.duration - lead_));
}

void FakeServerOutput::stop()
{
    record_.positionAtStop = processedUSecs();
    ++record_.stops;
    drained_.stop();
    setState(QAudio::StoppedState);
}

qint64 FakeServerOutput::processedUSecs() const
{
    if (state_ == QAudio::StoppedState)
        return record_.positionAtStop < 0 ? 0 : record_.positionAtStop;
    const auto heard = std::chrono::steady_clock::now() - started_ - startDelay_;
    const qint64 us = std::chrono::duration_cast<std::chrono::microseconds>(heard).count();
    const qint64 length = qint64(format_.duration.count()) * 1000;
    return std::clamp<qint64>(us, 0, length);
}

void FakeServerOutput::setState(QAudio::State s)
{
    if (s == state_)
        return;
    state_ = s;
    emit stateChanged(s);
}

} // namespace zq::test
