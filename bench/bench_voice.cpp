// The voice keyer and code practice on the real clock.
//
// BM_PttRelease: a short wave file plays on a stand-in sound device (it
// plays for the file's length by the steady clock) with PTT on a recording
// key line; the event loop runs the voice keyer's 40 ms poll.  Reported:
//   release_p50_ms, release_p99_ms, release_max_ms   from the file's end to
//                                                   the PTT line's drop
//
// BM_PttReleaseRealSound: a 1.0 s tone plays through the real device on the
// sound server (PulseAudio, a null sink will do) while `parec` records the
// default output's monitor; the tone's real end is the time of its last
// loud sample there, on the recording's sample clock anchored at its
// earliest delivery (so the few milliseconds the monitor takes to deliver
// count in PTT's favour).  ZQ_MONITOR_LATENCY_MS sets the monitor's latency
// (5 ms; a longer one lets a null sink run with a longer latency too).
// Reported: release_p50_ms, release_p99_ms, release_max_ms from the real
// end to the PTT line's drop (negative: dropped before the end), heard_ms
// (the tone's heard length) and start_ms (key press to first sound).  Left
// out, with a line saying so, when there is no sound server or no parec.
//
// BM_PromptsRealSound (with the same needs): voice navigation's prompts on
// the real device, heard whole and in order; see below.
//
// BM_CodePracticeGap: code practice sends a text one character at a time
// through the CW keyer at 40 WPM onto a recording key line.  Reported:
//   added_gap_p50_ms, added_gap_p99_ms, added_gap_max_ms   the space between
//       two characters beyond the three units Morse gives it
#include "common/EntryBox.h"
#include "platform/Folders.h"
#include "common/ModalShow.h"
#include "common/WindowRegistry.h"
#include "keying/BlindFrm.h"
#include "keying/CWFrm.h"
#include "keying/KeyingState.h"
#include "keying/PhoneFrm.h"
#include "keying/frmCodePractice.h"
#include "logstore/StationSettings.h"
#include "platform/KeyLine.h"
#include "platform/KeyingPorts.h"
#include "platform/Paths.h"
#include "platform/Prompt.h"
#include "platform/WaveDevice.h"
#include "BenchStats.h"
#include "OffscreenMain.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QProcess>
#include <QStandardPaths>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

using namespace zq;
using namespace std::chrono;

namespace {

using zq::bench::percentile;

// Plays for the file's length on the steady clock; records when it ended.
class TimedBackend final : public WaveBackend {
public:
    explicit TimedBackend(steady_clock::time_point* endedAt) : endedAt_(endedAt) {}
    bool open(const QString& path, QString* reason) override
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return false;
        const auto fmt = parseWaveHeader(f.readAll(), reason);
        if (!fmt)
            return false;
        length_ = fmt->duration;
        return true;
    }
    bool play(QString*) override
    {
        started_ = steady_clock::now();
        *endedAt_ = started_ + length_;
        playing_ = true;
        return true;
    }
    void stop() override { playing_ = false; }
    void close() override { playing_ = false; }
    bool isPlaying() override
    {
        if (playing_ && steady_clock::now() >= started_ + length_)
            playing_ = false;
        return playing_;
    }

private:
    steady_clock::time_point* endedAt_;
    steady_clock::time_point started_{};
    milliseconds length_{0};
    bool playing_ = false;
};

QByteArray silence(int ms, int rate = 8000)
{
    const quint32 data = quint32(rate / 1000 * ms * 2);
    QByteArray b = "RIFF";
    auto put = [&b](quint32 v, int n) {
        for (int i = 0; i < n; ++i)
            b += char((v >> (8 * i)) & 0xFF);
    };
    put(36 + data, 4);
    b += "WAVEfmt ";
    put(16, 4);
    put(1, 2);
    put(1, 2);
    put(quint32(rate), 4);
    put(quint32(rate * 2), 4);
    put(2, 2);
    put(16, 2);
    b += "data";
    put(data, 4);
    b += QByteArray(qsizetype(data), '\0');
    return b;
}

// A working folder, scripted prompts, settings kept apart, recording lines.
struct World {
    QTemporaryDir work;
    QTemporaryDir docs;
    std::vector<std::shared_ptr<RecordingKeyLine>> lines;

    World()
    {
        WindowRegistry::unloadAll();
        setPrompt(std::make_unique<ScriptedPrompt>());
        setDocumentsFolderOverride(docs.path());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(docs.path()));
        Folders::instance().WorkingDirectory = work.path();
        QDir::setCurrent(work.path());
        setModalShowHandlerForTesting([](QWidget&) {});
        KeyingState::instance() = KeyingState{};
        KeyingPorts::setOpenerForTesting([this](const KeyLinePort& port, QString*, QString*) {
            auto line = std::make_unique<RecordingKeyLine>(port);
            return std::unique_ptr<KeyLine>(std::move(line));
        });
    }
    ~World()
    {
        WindowRegistry::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        KeyingPorts::instance().releaseAll();
        KeyingPorts::setOpenerForTesting(nullptr);
        setWaveBackendFactoryForTesting({});
        setModalShowHandlerForTesting(nullptr);
        setPrompt(nullptr);
        setDocumentsFolderOverride(QString());
    }
    std::shared_ptr<RecordingKeyLine> line(KeyingOwner owner) const
    {
        return std::static_pointer_cast<RecordingKeyLine>(KeyingPorts::instance().line(owner));
    }
};

// The voice keyer with `wave` written to `name` in the working folder as
// its F1 message, PTT on serial port 1.
PhoneFrm& voiceKeyerWithF1(World& world, const QString& name, const QByteArray& wave)
{
    QFile f(world.work.path() + QLatin1Char('/') + name);
    f.open(QIODevice::WriteOnly);
    f.write(wave);
    f.close();
    PhoneFrm& phone = DefaultInstance<PhoneFrm>();
    phone.Text[1]->setText(name);
    phone.Text[10]->setText(QStringLiteral("1"));
    return phone;
}

// Runs the event loop until the voice keyer has dropped PTT, `bound` at most.
void runUntilPttDrops(PhoneFrm& phone, milliseconds bound)
{
    QEventLoop loop;
    QTimer check;
    check.setInterval(1);
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (!phone.pttKeyed())
            loop.quit();
    });
    check.start();
    QTimer::singleShot(bound, &loop, &QEventLoop::quit);
    loop.exec();
}

void BM_PttRelease(benchmark::State& state)
{
    World world;
    steady_clock::time_point endedAt{};
    setWaveBackendFactoryForTesting([&endedAt] {
        return std::make_unique<TimedBackend>(&endedAt);
    });
    const int fileMs = static_cast<int>(state.range(0));
    PhoneFrm& phone = voiceKeyerWithF1(world, QStringLiteral("msg.wav"), silence(fileMs));
    std::vector<double> delays;
    for (auto _ : state) {
        int f1 = 112;
        phone.FKeyPhone(f1);
        auto line = world.line(KeyingOwner::Ptt);
        if (!line || phone.MMControl1->Mode() != WaveDevice::ModePlaying) {
            state.SkipWithError("the message did not play with PTT keyed");
            break;
        }
        // The event loop runs until the poll has dropped the line.
        runUntilPttDrops(phone, milliseconds(fileMs + 5000));
        const auto t = line->transitions();
        if (t.empty() || t.back().down) {
            state.SkipWithError("PTT was not released");
            break;
        }
        delays.push_back(duration<double, std::milli>(t.back().at - endedAt).count());
    }
    state.counters["release_p50_ms"] = percentile(delays, 0.50);
    state.counters["release_p99_ms"] = percentile(delays, 0.99);
    state.counters["release_max_ms"] = percentile(delays, 1.0);
}
BENCHMARK(BM_PttRelease)->Arg(60)->Iterations(150)->Unit(benchmark::kMillisecond);

void BM_CodePracticeGap(benchmark::State& state)
{
    World world;
    CWFrm& cw = DefaultInstance<CWFrm>();
    cw.Option1->click();
    cw.optTimer->click();
    cw.Text[10]->setText(QStringLiteral("1"));
    cw.Text[11]->setText(QString::number(state.range(0)));
    const double unitMs = 1200.0 / double(state.range(0));
    frmCodePractice& cp = DefaultInstance<frmCodePractice>();
    const QString text = QStringLiteral("EEEEEEEEEEEEEEEEEEEEEEEEEEEEEEEEEEEEEEEE");
    std::vector<double> gaps;
    size_t seen = 0; // transitions of the earlier passes
    for (auto _ : state) {
        cp.Text1->setPlainText(text);
        cp.Command3_Click();
        auto line = world.line(KeyingOwner::CwKeyLine);
        if (!line) {
            state.SkipWithError("no key line");
            break;
        }
        const auto all = line->transitions();
        const std::vector<RecordingKeyLine::Transition> t(all.begin() + qsizetype(std::min(seen, all.size())),
                                                          all.end());
        seen = all.size();
        // Each "E": down, then up one unit later; the next down three units on.
        for (size_t i = 1; i + 1 < t.size(); i += 2)
            if (!t[i].down && t[i + 1].down) {
                gaps.push_back(duration<double, std::milli>(t[i + 1].at - t[i].at).count()
                               - 3 * unitMs);
            }
    }
    if (gaps.empty())
        state.SkipWithError("nothing keyed");
    state.counters["added_gap_p50_ms"] = percentile(gaps, 0.50);
    state.counters["added_gap_p99_ms"] = percentile(gaps, 0.99);
    state.counters["added_gap_max_ms"] = percentile(gaps, 1.0);
    state.counters["gaps"] = double(gaps.size());
}
BENCHMARK(BM_CodePracticeGap)->Arg(40)->Iterations(5)->Unit(benchmark::kMillisecond);

// The monitor of the default output, recorded by parec: the times at which
// the loud samples of a tone were heard.
class MonitorRecorder {
public:
    static constexpr int Rate = 8000;
    bool start()
    {
        QObject::connect(&rec_, &QProcess::readyReadStandardOutput, [this] { take(); });
        rec_.start(QStringLiteral("parec"),
                   {QStringLiteral("--raw"), QStringLiteral("--latency-msec=%1").arg(latency().count()),
                    QStringLiteral("-d"), QStringLiteral("@DEFAULT_MONITOR@"),
                    QStringLiteral("--format=s16le"), QStringLiteral("--rate=8000"),
                    QStringLiteral("--channels=1")});
        return rec_.waitForStarted(3000);
    }
    ~MonitorRecorder()
    {
        rec_.kill();
        rec_.waitForFinished(3000);
    }
    void reset()
    {
        firstLoud_.reset();
        lastLoud_.reset();
        segments_.clear();
    }
    // The loud stretches heard since the reset, in milliseconds of sound
    // (a gap of 30 ms or more parts two).
    std::vector<double> segments() const
    {
        std::vector<double> out;
        for (const auto& [from, to] : segments_)
            out.push_back(double(to - from) * 1000.0 / Rate);
        return out;
    }
    std::optional<steady_clock::time_point> first() const { return at(firstLoud_); }
    std::optional<steady_clock::time_point> last() const { return at(lastLoud_); }
    // The monitor's latency; a longer one lets the sound server run with a
    // longer latency too (ZQ_MONITOR_LATENCY_MS, 5 ms unless set).
    static milliseconds latency()
    {
        const int ms = qEnvironmentVariableIntValue("ZQ_MONITOR_LATENCY_MS");
        return milliseconds(ms > 0 ? ms : 5);
    }

private:
    // Sample k of the recording was taken at origin_ + k / Rate; the origin
    // is the earliest that any delivery allows (deliveries come in bursts).
    std::optional<steady_clock::time_point> at(std::optional<qint64> k) const
    {
        if (!k)
            return std::nullopt;
        return origin_ + microseconds(*k * 1000000 / Rate);
    }
    void take()
    {
        pending_ += rec_.readAllStandardOutput();
        const auto now = steady_clock::now();
        const qsizetype n = pending_.size() / 2;
        for (qsizetype i = 0; i < n; ++i) {
            const qint16 v = qint16(quint8(pending_[2 * i]) | (quint8(pending_[2 * i + 1]) << 8));
            if (std::abs(int(v)) >= 1000) {
                const qint64 k = samples_ + i;
                if (!firstLoud_)
                    firstLoud_ = k;
                if (segments_.empty() || k - segments_.back().second > Rate * 30 / 1000)
                    segments_.push_back({k, k});
                segments_.back().second = k;
                lastLoud_ = k;
            }
        }
        samples_ += n;
        const auto origin = now - microseconds(samples_ * 1000000 / Rate);
        if (!haveOrigin_ || origin < origin_)
            origin_ = origin;
        haveOrigin_ = true;
        pending_.remove(0, n * 2);
    }
    QProcess rec_;
    QByteArray pending_;
    qint64 samples_ = 0;
    steady_clock::time_point origin_{};
    bool haveOrigin_ = false;
    std::optional<qint64> firstLoud_, lastLoud_;
    std::vector<std::pair<qint64, qint64>> segments_;
};

// A 440 Hz tone of `ms`, after `leadInMs` of silence.
QByteArray tone(int ms, int leadInMs = 0, int rate = MonitorRecorder::Rate)
{
    QByteArray b = silence(leadInMs + ms, rate);
    const qsizetype data = b.size() - 44;
    for (qsizetype i = qsizetype(leadInMs) * rate / 1000; i < data / 2; ++i) {
        const qint16 v = qint16(8000 * std::sin(2 * M_PI * 440.0 * double(i) / rate));
        b[44 + 2 * i] = char(v & 0xFF);
        b[44 + 2 * i + 1] = char((v >> 8) & 0xFF);
    }
    return b;
}

void runLoopFor(milliseconds ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Starts the recorder of the sound server's monitor and lets it settle;
// false (the benchmark skipped) when it did not start.
bool startMonitor(benchmark::State& state, MonitorRecorder& monitor)
{
    if (!monitor.start()) {
        state.SkipWithError("parec did not start");
        return false;
    }
    runLoopFor(milliseconds(300));
    return true;
}

void BM_PttReleaseRealSound(benchmark::State& state)
{
    World world;
    MonitorRecorder monitor;
    if (!startMonitor(state, monitor))
        return;
    const int fileMs = static_cast<int>(state.range(0));
    PhoneFrm& phone = voiceKeyerWithF1(world, QStringLiteral("tone.wav"), tone(fileMs));
    std::vector<double> delays, heard, starts;
    for (auto _ : state) {
        monitor.reset();
        int f1 = 112;
        const auto pressed = steady_clock::now();
        phone.FKeyPhone(f1);
        auto line = world.line(KeyingOwner::Ptt);
        if (!line || phone.MMControl1->Mode() != WaveDevice::ModePlaying) {
            state.SkipWithError("the message did not play with PTT keyed");
            break;
        }
        runUntilPttDrops(phone, milliseconds(fileMs + 10000));
        // Let the monitor catch up with the tone's end.
        runLoopFor(milliseconds(400) + 2 * monitor.latency());
        const auto t = line->transitions();
        if (t.empty() || t.back().down || !monitor.last()) {
            state.SkipWithError(monitor.last() ? "PTT was not released" : "nothing was heard");
            break;
        }
        delays.push_back(duration<double, std::milli>(t.back().at - *monitor.last()).count());
        heard.push_back(duration<double, std::milli>(*monitor.last() - *monitor.first()).count());
        starts.push_back(duration<double, std::milli>(*monitor.first() - pressed).count());
    }
    state.counters["release_p50_ms"] = percentile(delays, 0.50);
    state.counters["release_p99_ms"] = percentile(delays, 0.99);
    state.counters["release_max_ms"] = percentile(delays, 1.0);
    state.counters["release_min_ms"] = delays.empty() ? 0 : *std::min_element(delays.begin(), delays.end());
    state.counters["heard_ms"] = percentile(heard, 0.50);
    state.counters["start_ms"] = percentile(starts, 0.50);
}

// BM_PromptsRealSound: voice navigation's "Call Only" announcement (NavEn,
// the wait for its end, then Call; 600 ms tones each) and a duplicate's
// "Dupe" followed at once by the "Call" of the cleared row, on the real
// device; each file has 60 ms of silence before its tone.  Reported: the
// tones heard, in order (navEn_ms, call_ms; dupe_ms, then_call_ms; 600 each
// when heard whole), the shortest of them, and how many stretches were
// heard (pieces_min, pieces_max; 2 each).
void BM_PromptsRealSound(benchmark::State& state)
{
    World world;
    MonitorRecorder monitor;
    if (!startMonitor(state, monitor))
        return;
    for (const char* p : {"NavEn", "Call", "Dupe"}) {
        QFile f(world.work.path() + QStringLiteral("/%1.wav").arg(QLatin1String(p)));
        f.open(QIODevice::WriteOnly);
        f.write(tone(600, 60)); // the silent lead-in parts the prompts heard
    }
    StationSettings::instance().VoiceNavigationLevel = 3; // nothing announced at load
    BlindFrm& blind = DefaultInstance<BlindFrm>();
    std::vector<double> navEn, call, dupe, thenCall, pieces;
    for (auto _ : state) {
        monitor.reset();
        blind.Option2_Click();
        runLoopFor(milliseconds(1500) + 2 * MonitorRecorder::latency());
        auto heard = monitor.segments();
        pieces.push_back(double(heard.size()));
        navEn.push_back(heard.size() > 0 ? heard[0] : 0);
        call.push_back(heard.size() > 1 ? heard[1] : 0);

        monitor.reset();
        blind.BlindKeyPhone(QStringLiteral("Dupe"));
        blind.waitForPromptEnd(); // as the duplicate check does
        blind.BlindKeyPhone(QStringLiteral("Call"));
        runLoopFor(milliseconds(1500) + 2 * MonitorRecorder::latency());
        heard = monitor.segments();
        pieces.push_back(double(heard.size()));
        dupe.push_back(heard.size() > 0 ? heard[0] : 0);
        thenCall.push_back(heard.size() > 1 ? heard[1] : 0);
    }
    state.counters["navEn_ms"] = percentile(navEn, 0.5);
    state.counters["call_ms"] = percentile(call, 0.5);
    state.counters["dupe_ms"] = percentile(dupe, 0.5);
    state.counters["then_call_ms"] = percentile(thenCall, 0.5);
    state.counters["shortest_ms"] = std::min({*std::min_element(navEn.begin(), navEn.end()),
                                              *std::min_element(call.begin(), call.end()),
                                              *std::min_element(dupe.begin(), dupe.end()),
                                              *std::min_element(thenCall.begin(), thenCall.end())});
    state.counters["pieces_max"] = percentile(pieces, 1.0);
    state.counters["pieces_min"] = *std::min_element(pieces.begin(), pieces.end());
}

// A sound server to play to and parec to hear it with.
bool soundServerPresent(QString* why)
{
    if (QStandardPaths::findExecutable(QStringLiteral("parec")).isEmpty()) {
        *why = QStringLiteral("parec (pulseaudio-utils) is not installed");
        return false;
    }
    QProcess info;
    info.start(QStringLiteral("pactl"), {QStringLiteral("info")});
    if (!info.waitForFinished(10000) || info.exitStatus() != QProcess::NormalExit
        || info.exitCode() != 0) {
        *why = QStringLiteral("no PulseAudio sound server answers");
        return false;
    }
    if (QMediaDevices::defaultAudioOutput().isNull()) {
        *why = QStringLiteral("Qt finds no sound output");
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QString why;
    const bool soundServer = soundServerPresent(&why);
    if (soundServer)
        benchmark::RegisterBenchmark("BM_PttReleaseRealSound", BM_PttReleaseRealSound)
            ->Arg(1000)
            ->Iterations(12)
            ->Unit(benchmark::kMillisecond);
    if (soundServer)
        benchmark::RegisterBenchmark("BM_PromptsRealSound", BM_PromptsRealSound)
            ->Iterations(5)
            ->Unit(benchmark::kMillisecond);
    else
        fprintf(stderr,
                "bench_voice: %s: BM_PttReleaseRealSound and BM_PromptsRealSound skipped.\n",
                qPrintable(why));
    return zq::bench::runBenchmarks(argc, argv);
}
