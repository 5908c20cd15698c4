#include "platform/WaveDevice.h"

#include "platform/EventHold.h"
#include "platform/Folders.h"
#include "platform/SafeFile.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QPointer>
#include <QTimer>
#include <algorithm>

namespace zq {
namespace {

std::function<std::unique_ptr<WaveBackend>()>& factory()
{
    static std::function<std::unique_ptr<WaveBackend>()> f;
    return f;
}

bool g_noOutputNoticeDue = false;

// Every device that exists, for stopAll.
std::vector<zq::WaveDevice*>& devices()
{
    static std::vector<zq::WaveDevice*> d;
    return d;
}
bool g_noOutputNoticeGiven = false;

quint32 le32(const char* p)
{
    return quint32(quint8(p[0])) | quint32(quint8(p[1])) << 8 | quint32(quint8(p[2])) << 16
        | quint32(quint8(p[3])) << 24;
}
quint16 le16(const char* p)
{
    return quint16(quint8(p[0]) | quint8(p[1]) << 8);
}

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A playback has ended when the output has played this close to its length.
constexpr qint64 EndToleranceUs = 5000;
// Once the last data has been handed over, a play position standing this
// long this close to the length means the output has played what it will (a
// position a few frames short); farther from the end a standing position is
// a sound server that is late, and the playback goes on.
constexpr milliseconds StillPosition{60};
constexpr qint64 NearEndUs = 50000;
// How long after the play position has reached the end the end is said.
constexpr milliseconds EndHang{25};
// The sound kept in the output's buffer ahead of what is heard.
constexpr qint64 OutputBufferUs = 300000;
// How long a stopped output is kept before it is deleted.
constexpr milliseconds StoppedOutputGrace{3000};

// Qt Multimedia's audio sink.
class QtPcmOutput final : public PcmOutput {
public:
    QtPcmOutput(const QAudioDevice& device, const QAudioFormat& format)
        : sink_(new QAudioSink(device, format, this))
    {
        // The sink is fed from the event loop: a buffer of some length
        // rides out a busy moment of the program without a gap in the sound.
        sink_->setBufferSize(format.bytesForDuration(OutputBufferUs));
        connect(sink_, &QAudioSink::stateChanged, this, &PcmOutput::stateChanged);
    }
    void start(QIODevice* source) override { sink_->start(source); }
    void stop() override { sink_->stop(); }
    QAudio::State state() const override { return sink_->state(); }
    QAudio::Error error() const override { return sink_->error(); }
    qint64 processedUSecs() const override { return sink_->processedUSecs(); }

private:
    QAudioSink* sink_;
};

std::unique_ptr<PcmOutput> makeQtOutput(const WaveFormat& format, QString* reason)
{
    const QAudioDevice out = QMediaDevices::defaultAudioOutput();
    if (out.isNull()) {
        *reason = WaveDevice::noOutputReason();
        WaveDevice::noteNoOutput();
        return nullptr;
    }
    QAudioFormat af;
    af.setSampleRate(format.sampleRate);
    af.setChannelCount(format.channels);
    switch (format.sample) {
    case WaveFormat::Sample::UInt8: af.setSampleFormat(QAudioFormat::UInt8); break;
    case WaveFormat::Sample::Int16: af.setSampleFormat(QAudioFormat::Int16); break;
    case WaveFormat::Sample::Int32: af.setSampleFormat(QAudioFormat::Int32); break;
    case WaveFormat::Sample::Float32: af.setSampleFormat(QAudioFormat::Float); break;
    }
    if (!out.isFormatSupported(af)) {
        *reason = QStringLiteral("The sound output cannot play this wave format.");
        return nullptr;
    }
    return std::make_unique<QtPcmOutput>(out, af);
}

// The output reports Idle when it has handed the last data to the sound
// system, which plays it a little (with a sound server, up to a second or
// more) later; the end is the output's play position reaching the file's
// length.  The position is checked from the first moment the end is
// possible and at each Idle, on timers of the event loop.
class AudioSinkBackend final : public WaveBackend {
public:
    explicit AudioSinkBackend(PcmOutputMaker make) : make_(std::move(make))
    {
        if (!make_)
            make_ = makeQtOutput;
        check_.setSingleShot(true);
        bound_.setSingleShot(true);
        // A hold waiting for this playback must let it run.
        EventHold::keepRunning(&check_);
        EventHold::keepRunning(&bound_);
        QObject::connect(&check_, &QTimer::timeout, [this] { checkEnd(); });
        QObject::connect(&bound_, &QTimer::timeout, [this] { finish(); });
    }
    ~AudioSinkBackend() override
    {
        ended = nullptr;
        close();
    }

    bool open(const QString& path, QString* reason) override
    {
        close();
        QFile f;
        if (!openRegularFile(f, path, reason))
            return false;
        if (f.size() > MaxWaveFileBytes) {
            *reason = QStringLiteral("The wave file is too large.");
            return false;
        }
        const QByteArray bytes = f.readAll();
        const auto fmt = parseWaveHeader(bytes, reason);
        if (!fmt)
            return false;
        format_ = *fmt;
        pcm_ = bytes.mid(fmt->dataOffset, fmt->dataSize);
        return true;
    }

    bool play(QString* reason) override
    {
        stop();
        std::unique_ptr<PcmOutput> out = make_(format_, reason);
        if (!out)
            return false;
        output_ = out.release();
        EventHold::keepRunning(output_);
        buffer_ = new QBuffer(output_); // lives as long as the output reads it
        buffer_->setData(pcm_);
        buffer_->open(QIODevice::ReadOnly);
        QObject::connect(output_, &PcmOutput::stateChanged, output_,
                         [this](QAudio::State s) { onState(s); });
        playing_ = true;
        endReached_ = false;
        lastPosition_ = -1;
        output_->start(buffer_);
        if (output_->error() != QAudio::NoError || output_->state() == QAudio::StoppedState) {
            *reason = QStringLiteral("The sound output could not start.");
            playing_ = false;
            stop();
            return false;
        }
        deadline_ = Clock::now() + format_.duration + PlaybackMargin;
        bound_.start(format_.duration + PlaybackMargin);
        check_.start(format_.duration); // the earliest the end can come
        return true;
    }

    void stop() override
    {
        playing_ = false;
        check_.stop();
        bound_.stop();
        if (output_) {
            PcmOutput* out = output_;
            output_ = nullptr;
            buffer_ = nullptr;
            out->disconnect();
            out->stop();
            // The sound system's own thread may still report on a stopped
            // sink for a moment (the end of a drain), and deleting a sink
            // may run pending events: it goes a while later, never inside a
            // hold (the hold defers the timer).  Until then it belongs to
            // the application, so a program that ends sooner still frees it.
            out->setParent(QCoreApplication::instance());
            QTimer::singleShot(StoppedOutputGrace, out, &QObject::deleteLater);
        }
    }

    void close() override
    {
        stop();
        pcm_.clear();
    }

    bool isPlaying() override { return playing_ && Clock::now() < deadline_; }

private:
    void onState(QAudio::State s)
    {
        if (!playing_ || !output_)
            return;
        if (s == QAudio::StoppedState && output_->error() != QAudio::NoError) {
            finish(); // the output failed
            return;
        }
        if (s == QAudio::IdleState && !endReached_)
            checkEnd();
    }

    void checkEnd()
    {
        if (!playing_ || !output_)
            return;
        const qint64 length = qint64(format_.duration.count()) * 1000;
        const qint64 position = output_->processedUSecs();
        const bool allHandedOver = buffer_ && buffer_->atEnd();
        const auto now = Clock::now();
        if (position != lastPosition_) {
            lastPosition_ = position;
            lastMove_ = now;
        }
        if (endReached_) {
            finish();
            return;
        }
        if (position >= length - EndToleranceUs
            || (allHandedOver && length - position <= NearEndUs && now - lastMove_ >= StillPosition)) {
            // The position is the server's estimate: a busy machine may run
            // it a little ahead of the sound, so the end is said a moment on.
            endReached_ = true;
            check_.start(EndHang);
            return;
        }
        const qint64 remainingMs = (length - position) / 1000;
        check_.start(milliseconds(std::clamp<qint64>(remainingMs, 5, 50)));
    }

    void finish()
    {
        if (!playing_)
            return;
        stop();
        if (ended)
            ended();
    }

    PcmOutputMaker make_;
    WaveFormat format_;
    QByteArray pcm_;
    PcmOutput* output_ = nullptr;
    QBuffer* buffer_ = nullptr;
    QTimer check_;
    QTimer bound_;
    Clock::time_point deadline_{};
    qint64 lastPosition_ = -1;
    Clock::time_point lastMove_{};
    bool endReached_ = false;
    bool playing_ = false;
};

} // namespace

std::optional<WaveFormat> parseWaveHeader(const QByteArray& bytes, QString* reason)
{
    auto fail = [reason](const char* why) -> std::optional<WaveFormat> {
        if (reason)
            *reason = QString::fromLatin1(why);
        return std::nullopt;
    };
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return fail("Not a wave file.");
    const char* d = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype pos = 12;
    bool haveFormat = false;
    WaveFormat w;
    int formatTag = 0, bits = 0;
    while (pos + 8 <= n) {
        const QByteArray id = bytes.mid(pos, 4);
        const quint32 size = le32(d + pos + 4);
        const qsizetype body = pos + 8;
        if (id == "fmt ") {
            if (size < 16 || body + 16 > n)
                return fail("The wave file's format is damaged.");
            formatTag = le16(d + body);
            w.channels = le16(d + body + 2);
            w.sampleRate = int(le32(d + body + 4));
            w.bytesPerFrame = le16(d + body + 12);
            bits = le16(d + body + 14);
            if (formatTag == 0xFFFE && size >= 40 && body + 26 <= n)
                formatTag = le16(d + body + 24); // extensible: the sub-format
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                return fail("The wave file's format is damaged.");
            w.dataOffset = body;
            w.dataSize = std::min<qsizetype>(qsizetype(size), n - body);
            break;
        }
        // Chunks are padded to even sizes.
        const qsizetype next = body + qsizetype(size) + (size & 1);
        if (next <= pos || next > n + 1)
            return fail("The wave file is damaged.");
        pos = next;
    }
    if (!haveFormat || w.dataOffset == 0)
        return fail("The wave file holds no sound.");
    if (w.channels < 1 || w.channels > 8 || w.sampleRate < 1000 || w.sampleRate > 384000)
        return fail("The wave file's format is not supported.");
    if (formatTag == 1 && bits == 8)
        w.sample = WaveFormat::Sample::UInt8;
    else if (formatTag == 1 && bits == 16)
        w.sample = WaveFormat::Sample::Int16;
    else if (formatTag == 1 && bits == 32)
        w.sample = WaveFormat::Sample::Int32;
    else if (formatTag == 3 && bits == 32)
        w.sample = WaveFormat::Sample::Float32;
    else
        return fail("The wave file's format is not supported.");
    if (w.bytesPerFrame != w.channels * bits / 8)
        return fail("The wave file's format is damaged.");
    w.dataSize -= w.dataSize % w.bytesPerFrame;
    const double seconds = double(w.dataSize) / w.bytesPerFrame / w.sampleRate;
    w.duration = std::chrono::milliseconds(qint64(seconds * 1000.0 + 0.5));
    return w;
}

std::unique_ptr<WaveBackend> makeAudioSinkBackend(PcmOutputMaker makeOutput)
{
    return std::make_unique<AudioSinkBackend>(std::move(makeOutput));
}

void setWaveBackendFactoryForTesting(std::function<std::unique_ptr<WaveBackend>()> make)
{
    factory() = std::move(make);
}

WaveDevice::WaveDevice(QObject* parent) : QObject(parent)
{
    devices().push_back(this);
}

WaveDevice::~WaveDevice()
{
    auto& all = devices();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
    if (backend_) {
        backend_->ended = nullptr;
        backend_->close();
    }
}

void WaveDevice::backendEnded()
{
    if (!playing_)
        return;
    playing_ = false;
    emit playbackEnded();
}

void WaveDevice::endPlayback()
{
    // A playback cut short by Stop or Close has ended too.
    backendEnded();
}

bool WaveDevice::takeNoOutputNotice()
{
    if (!g_noOutputNoticeDue)
        return false;
    g_noOutputNoticeDue = false;
    g_noOutputNoticeGiven = true;
    return true;
}

void WaveDevice::noteNoOutput()
{
    g_noOutputNoticeDue = !g_noOutputNoticeGiven;
}

void WaveDevice::resetNoOutputNoticeForTesting()
{
    g_noOutputNoticeDue = false;
    g_noOutputNoticeGiven = false;
}

std::chrono::milliseconds WaveDevice::fileLength() const
{
    const QString name = FileName.trimmed();
    if (name.isEmpty())
        return std::chrono::milliseconds(0);
    QFile f;
    if (!openRegularFile(f, QFileInfo(name).isRelative() ? Folders::workingFile(name) : name)
        || f.size() > MaxWaveFileBytes)
        return std::chrono::milliseconds(0);
    const auto fmt = parseWaveHeader(f.readAll());
    return fmt ? fmt->duration : std::chrono::milliseconds(0);
}

QString WaveDevice::noOutputReason()
{
    return QStringLiteral("No sound output was found. Voice keying and voice navigation play "
                          "through the desktop's sound server (PulseAudio, or PipeWire with its "
                          "PulseAudio service), and none answers: the wave file cannot be "
                          "played.");
}

bool WaveDevice::openFile()
{
    if (!backend_) {
        backend_ = factory() ? factory()() : makeAudioSinkBackend();
        backend_->ended = [this] { backendEnded(); };
    }
    const QString name = FileName.trimmed();
    const QString path = QFileInfo(name).isRelative() ? Folders::workingFile(name) : name;
    lastError_.clear();
    if (name.isEmpty() || !QFileInfo(path).isFile()) {
        lastError_ = QStringLiteral("The wave file was not found.");
        open_ = false;
        return false;
    }
    open_ = backend_->open(path, &lastError_);
    openedName_ = open_ ? FileName : QString();
    return open_;
}

void WaveDevice::stopAll()
{
    // A copy: a handler of playbackEnded may make or delete a device.
    std::vector<QPointer<WaveDevice>> all(devices().begin(), devices().end());
    for (const QPointer<WaveDevice>& d : all)
        if (d && d->isPlaying())
            d->Command(QStringLiteral("Stop"));
}

void WaveDevice::Command(const QString& command)
{
    const QString c = command.trimmed().toLower();
    if (c == QLatin1String("open")) {
        openFile();
    } else if (c == QLatin1String("play")) {
        if ((!open_ || openedName_ != FileName) && !openFile())
            return;
        endPlayback(); // a playback still going is replaced
        if (backend_->play(&lastError_))
            playing_ = true;
        else
            backend_->stop();
    } else if (c == QLatin1String("stop")) {
        if (backend_)
            backend_->stop();
        endPlayback();
    } else if (c == QLatin1String("close")) {
        if (backend_)
            backend_->close();
        open_ = false;
        openedName_.clear();
        endPlayback();
    }
}

int WaveDevice::Mode() const
{
    if (!open_ || !backend_)
        return ModeNotOpen;
    return backend_->isPlaying() ? ModePlaying : ModeStopped;
}

} // namespace zq
