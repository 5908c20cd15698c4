#pragma once
// A wave backend for tests: it reads the file's header like the real one,
// "plays" for the file's length on the steady clock unless told to end,
// and records the calls it gets.  Also makes small wave files.

#include "platform/WaveDevice.h"

#include <QStringList>
#include <memory>
#include <vector>

namespace zq::test {

// A RIFF/WAVE file of silence: `ms` milliseconds at `rate` Hz.
QByteArray makeWaveFile(int ms, int rate = 8000, int channels = 1, int bits = 16);

class FakeWaveBackend final : public WaveBackend {
public:
    struct World {
        QStringList calls;     // "open <file name>", "play", "stop", "close"
        bool failPlay = false; // play fails, as with no sound output
        int backends = 0;
    };
    // Installs the fake for every device made from now on; the world is
    // shared by all of them.  Uninstalled when the returned guard goes; the
    // world lives on as long as a device made under it (a window being
    // unloaded after the test's scope) still holds it.
    struct Install {
        Install();
        ~Install();
        std::shared_ptr<World> owner;
        World& world;
    };

    explicit FakeWaveBackend(std::shared_ptr<World> w) : holder_(std::move(w)), world_(*holder_)
    {
        ++world_.backends;
    }
    bool open(const QString& path, QString* reason) override;
    bool play(QString* reason) override;
    void stop() override;
    void close() override;
    bool isPlaying() override;
    // Ends the current playback now, as at the file's end.
    static void finishAll(World& w);

private:
    std::shared_ptr<World> holder_;
    World& world_;
    std::chrono::milliseconds length_{0};
    std::chrono::steady_clock::time_point started_{};
    bool playing_ = false;
    static std::vector<FakeWaveBackend*>& live();

public:
    ~FakeWaveBackend() override;
};

} // namespace zq::test
