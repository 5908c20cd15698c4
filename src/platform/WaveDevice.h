#pragma once
// A wave-file playback device with the semantics the keyer windows use: a
// file name, the commands Open, Play, Stop and Close, and a mode that reads
// 526 while the file plays.  Play returns at once.  A playback lasts until
// its sound has gone out of the sound output (not merely been handed to
// it), and the device says so with playbackEnded; reading the mode needs no
// event loop, and a playback ends at the latest at a bound (the file's
// length plus PlaybackMargin) whatever the sound system does.
//
// Each window owns its own device.  The sound goes through a backend: the
// real one on Qt Multimedia, or one that tests install.

#include <QAudio>
#include <QByteArray>
#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class QIODevice;

namespace zq {

// The PCM layout of a wave file, from its RIFF header.
struct WaveFormat {
    enum class Sample { UInt8, Int16, Int32, Float32 };
    Sample sample = Sample::Int16;
    int sampleRate = 0;
    int channels = 0;
    int bytesPerFrame = 0;
    qsizetype dataOffset = 0; // of the PCM data in the file
    qsizetype dataSize = 0;   // bytes of PCM data (cut to what the file holds)
    std::chrono::milliseconds duration{0};
};

// Reads a RIFF/WAVE header: PCM 8, 16 or 32 bits or 32-bit float, 1 to 8
// channels.  nullopt for anything else (with the reason).
std::optional<WaveFormat> parseWaveHeader(const QByteArray& bytes, QString* reason = nullptr);

// The largest wave file played; a voice message is far smaller.
constexpr qint64 MaxWaveFileBytes = 256LL * 1024 * 1024;

// What plays the sound.  All calls come from the user-interface thread.
class WaveBackend {
public:
    virtual ~WaveBackend() = default;
    // Prepares `path`; false (with the reason) when it cannot be played.
    virtual bool open(const QString& path, QString* reason) = 0;
    // Starts from the beginning; returns at once.  False when it cannot.
    virtual bool play(QString* reason) = 0;
    virtual void stop() = 0;
    virtual void close() = 0;
    // True while the sound is still going out; read without an event loop,
    // and false once the playback's bound has passed.
    virtual bool isPlaying() = 0;

    // Set by the device: a backend calls it (from the event loop, never from
    // inside one of the calls above) when a playback ends by itself: its
    // sound has gone out, the output failed, or its bound passed.
    std::function<void()> ended;
};

// How much longer than its file a playback may last at most: a sound server
// may take a second or more before the first sample is heard.
constexpr std::chrono::milliseconds PlaybackMargin{4000};

// A sound output that plays PCM pulled from a device, as Qt Multimedia's
// audio sink does: its state, its error, and how much of the sound has been
// played out so far (processedUSecs; with a sound server, the position of
// what is heard, which lags what has been handed over).
class PcmOutput : public QObject {
    Q_OBJECT
public:
    virtual void start(QIODevice* source) = 0;
    virtual void stop() = 0;
    virtual QAudio::State state() const = 0;
    virtual QAudio::Error error() const = 0;
    virtual qint64 processedUSecs() const = 0;
signals:
    void stateChanged(QAudio::State state);
};

// Makes the output for a file's layout; nullptr (with the reason) when the
// machine cannot play it.  The real maker opens the default output of Qt
// Multimedia; a machine without one says so through noteNoOutput.
using PcmOutputMaker = std::function<std::unique_ptr<PcmOutput>(const WaveFormat&, QString* reason)>;

// The real backend: a PcmOutput, by default Qt Multimedia's audio sink on
// the default output.  It ends a playback when the output's play position
// reaches the file's length (the output going Idle only says that the last
// data was handed over), or when the position stands still once all was
// handed over, or at the playback's bound.
std::unique_ptr<WaveBackend> makeAudioSinkBackend(PcmOutputMaker makeOutput = {});

// Tests install their own backend maker ({} restores the real one).
void setWaveBackendFactoryForTesting(std::function<std::unique_ptr<WaveBackend>()> make);

class WaveDevice : public QObject {
    Q_OBJECT
public:
    static constexpr int ModeNotOpen = 524, ModeStopped = 525, ModePlaying = 526;

    explicit WaveDevice(QObject* parent = nullptr);
    ~WaveDevice() override;

    QString FileName;

    // "Open", "Play" (opens first when needed), "Stop" or "Close", in any
    // case; anything else does nothing.  A file that cannot be opened or
    // played leaves the device not playing; the reason is kept.
    void Command(const QString& command);
    int Mode() const;
    bool isPlaying() const { return Mode() == ModePlaying; }
    QString lastError() const { return lastError_; }

    // The longest a playback of the file named by FileName may last.
    std::chrono::milliseconds playbackBound() const { return fileLength() + PlaybackMargin; }

    // True once per run when a playback failed because the machine has no
    // sound output; the caller tells the operator then.
    static bool takeNoOutputNotice();
    // The reason text of that failure.
    static QString noOutputReason();
    // Backends call this when a playback failed for want of a sound output.
    static void noteNoOutput();
    // Tests: the next failure for want of an output is told again.
    static void resetNoOutputNoticeForTesting();

    // Stops every device that plays now, as its "Stop" would (the program
    // ends: nothing goes on sounding over a transmitter).
    static void stopAll();

    // The playing length of the file named by FileName (as Open would find
    // it), from its header; 0 when it cannot be read.
    std::chrono::milliseconds fileLength() const;

signals:
    // A playback has ended: its sound has gone out, its bound has passed, or
    // it was stopped or closed.  Emitted from the event loop or from Command.
    void playbackEnded();

private:
    bool openFile();
    void backendEnded();
    void endPlayback();
    bool playing_ = false; // a playback was started and has not been reported ended
    std::unique_ptr<WaveBackend> backend_;
    QString openedName_;
    bool open_ = false;
    QString lastError_;
};

} // namespace zq
