#include "support/FakeWaveBackend.h"

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
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const auto fmt = parseWaveHeader(f.readAll(), reason);
    if (!fmt)
        return false;
    length_ = fmt->duration;
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
    started_ = std::chrono::steady_clock::now();
    playing_ = true;
    return true;
}

void FakeWaveBackend::stop()
{
    world_.calls << QStringLiteral("stop");
    playing_ = false;
}

void FakeWaveBackend::close()
{
    world_.calls << QStringLiteral("close");
    playing_ = false;
}

bool FakeWaveBackend::isPlaying()
{
    if (playing_ && std::chrono::steady_clock::now() - started_ >= length_)
        playing_ = false;
    return playing_;
}

void FakeWaveBackend::finishAll(World& w)
{
    for (FakeWaveBackend* b : live())
        if (&b->world_ == &w)
            b->playing_ = false;
}

} // namespace zq::test
