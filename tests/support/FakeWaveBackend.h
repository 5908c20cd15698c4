#pragma once
// A wave backend for tests: it reads the file's header like the real one,
// "plays" for the file's length (plus the world's startDelay, as a sound
// server that is slow to start) on the steady clock unless told to end,
// reports the end from the event loop as the real one does, and records the
// calls it gets.  Also makes small wave files.

#include "platform/WaveDevice.h"

#include <QStringList>
#include <QTimer>
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
        // The sound is heard this long after play, so it ends this much later.
        std::chrono::milliseconds startDelay{0};
        // Files whose sound was cut off: stopped or closed while still going.
        QStringList cut;
    };
    // Installs the fake for every device made from now on; the world is
    // shared by all of them.  Uninstalled when the returned guard goes.
    struct Install {
        Install();
        ~Install();
        World& world;
    };

    explicit FakeWaveBackend(World& w) : world_(w) { ++w.backends; }
    bool open(const QString& path, QString* reason) override;
    bool play(QString* reason) override;
    void stop() override;
    void close() override;
    bool isPlaying() override;
    // Ends the current playback now, as at the file's end.
    static void finishAll(World& w);

private:
    void cutIfPlaying();
    World& world_;
    QString file_;
    std::unique_ptr<QTimer> end_;
    std::chrono::milliseconds fileLength_{0};
    std::chrono::milliseconds length_{0};
    std::chrono::steady_clock::time_point started_{};
    bool playing_ = false;
    static std::vector<FakeWaveBackend*>& live();

public:
    ~FakeWaveBackend() override;
};

} // namespace zq::test
