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
    void cutIfPlaying();
    std::shared_ptr<World> holder_;
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

// A sound server's output as Qt's audio sink shows it, for the real backend
// (makeAudioSinkBackend): nothing is heard for `startDelay`, then the sound
// plays in real time; the output reads its source ahead of what is heard
// and goes Idle when it has read the last data, `lead` before the last
// sample is heard.  processedUSecs is the position of what is heard.
class FakeServerOutput final : public PcmOutput {
public:
    struct Record {
        qint64 positionAtStop = -1; // what had been heard when stopped (us)
        int stops = 0;
    };
    FakeServerOutput(const WaveFormat& f, std::chrono::milliseconds startDelay,
                     std::chrono::milliseconds lead, Record& record);
    void start(QIODevice* source) override;
    void stop() override;
    QAudio::State state() const override { return state_; }
    QAudio::Error error() const override { return QAudio::NoError; }
    qint64 processedUSecs() const override;

private:
    void setState(QAudio::State s);
    WaveFormat format_;
    std::chrono::milliseconds startDelay_, lead_;
    Record& record_;
    QIODevice* source_ = nullptr;
    QTimer drained_;
    std::chrono::steady_clock::time_point started_{};
    QAudio::State state_ = QAudio::StoppedState;
};

} // namespace zq::test
