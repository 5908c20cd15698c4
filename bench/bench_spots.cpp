// Spot timings.  The whole road of a spot from the TNC's serial port to the
// log window: cluster lines written by a fake TNC on a pseudo-terminal, read
// by the spotting window's intake tick, split, filtered and handed to the
// store, the spot list and the band map; with the longest tick.  Through
// the real log window (offscreen): BandMapSpots with
// a full store and 200 list rows, once with the spot list shown and once
// with the band map; one DisplayBandMapLabels pass over 50 spots on the
// band.  A Telnet cluster's burst, and a steady 5000 lines/s, with the band
// map window shown: lines/s, the longest event-loop pass and the lag.  The
// logic alone: LookupSpotCountry on the shipped arrlpre2.txt and on a
// table of 10000 rows, with the rows read per lookup as a counter.
#include "OffscreenMain.h"
#include "BenchWorld.h"

#include "common/EntryBox.h"
#include "platform/Folders.h"
#include "common/Form1.h"
#include "common/WindowRegistry.h"
#include "logstore/PositionTables.h"
#include "logstore/StationSettings.h"
#include "logwindow/Outfrm.h"
#include "platform/Paths.h"
#include "platform/Prompt.h"
#include "spots/BandMapWindow.h"
#include "spots/SpotCountryLookup.h"
#include "spots/PacketSpotfrm.h"
#include "spots/SpotStore.h"
#include "support/FakeRadio.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <set>
#include <sys/socket.h>
#include <thread>

using namespace zq;

namespace {

const QString kRecord = QStringLiteral(
    "de W3LPL:     14025.0  JA1ABC       CW 599                         1234Z");

uint32_t nextRandom(uint32_t& s)
{
    s = s * 1664525u + 1013904223u;
    return s >> 8;
}

QString randomCall(uint32_t& s)
{
    static const char* const prefixes[] = {"JA", "DL", "K", "W", "VK", "ZS", "9A", "3B8", "KH6", "G"};
    QString c = QString::fromLatin1(prefixes[nextRandom(s) % 10]);
    c += QChar('0' + static_cast<int>(nextRandom(s) % 10));
    for (int i = 0; i < 3; ++i)
        c += QChar('A' + static_cast<int>(nextRandom(s) % 26));
    return c;
}

// The shipped country table, found beside the build tree.
bool loadShippedCountries(const QString& work)
{
    const QString source = QCoreApplication::applicationDirPath() + QStringLiteral("/../../data/arrlpre2.txt");
    QFile::remove(work + QStringLiteral("/arrlpre2.txt"));
    if (!QFile::copy(source, work + QStringLiteral("/arrlpre2.txt")))
        return false;
    CountryTable::instance() = CountryTable{};
    return LoadCountryTable() == TableLoad::Ok;
}

// True when the band map window shows the newest spot with this call.
bool showsNewest(const SpectrumMap& map, const QString& call)
{
    const QLabel* label = map.lblDXSpot(SpotStore::Newest);
    return !label->isHidden() && label->toolTip().startsWith(call + QStringLiteral("  "));
}

// The out-of-state window on an empty log with the shipped country table,
// its spot area opened as the list or the band map of band 20.
struct SpotFixture : zq::bench::BenchWorld {
    Outfrm* window = nullptr;
    bool ok = false;

    explicit SpotFixture(bool bandMap)
    {
        QFile counties(work.path() + QStringLiteral("/county2.txt"));
        counties.open(QIODevice::WriteOnly);
        for (int i = 1; i <= 77; ++i)
            counties.write(QStringLiteral("\"ZQCounty %1\",\"C%1\"\r\n").arg(i).toUtf8());
        counties.close();
        ok = loadShippedCountries(work.path());

        auto& st = StationSettings::instance();
        st = StationSettings{};
        st.CurrentBand = QStringLiteral("20");
        st.OutOfStateFlag = 1;
        SpotStore::instance().clear();
        window = &DefaultInstance<Outfrm>();
        window->show();
        QCoreApplication::processEvents();

        PacketSpotfrm& spotting = DefaultInstance<PacketSpotfrm>();
        spotting.List1->setCurrentRow(2);
        (bandMap ? spotting.OptBand : spotting.OptList)->setChecked(true);
        DefaultInstance<Form1>().PacketResize();
    }
    // One spot as the spotting window hands it over.
    void spot(uint32_t& seed, int kHz)
    {
        QString call = randomCall(seed);
        QString freq = QString::number(kHz);
        QString record = kRecord;
        DefaultInstance<Form1>().BandMapSpots(call, freq, record);
    }
};

// arg: 0 spot list shown, 1 band map shown.  The store is full and the
// list holds 200 rows before the first timed spot.
void BM_BandMapSpots(benchmark::State& state)
{
    SpotFixture fx(state.range(0) == 1);
    if (!fx.ok) {
        state.SkipWithError("arrlpre2.txt not found");
        return;
    }
    uint32_t seed = 4242;
    for (int i = 0; i < 200; ++i)
        fx.spot(seed, 14000 + (i * 7) % 350);
    int n = 0;
    // Each spot with the event-loop pass after it, in which the band map
    // draws: one spot per pass, the most drawing a spot can cost.
    for (auto _ : state) {
        fx.spot(seed, 14000 + (n++ * 7) % 350);
        QCoreApplication::processEvents();
    }
    state.counters["rows"] = fx.window->txtDX->topLevelItemCount();
    state.counters["spots/s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BandMapSpots)->Arg(0)->Arg(1)->ArgName("bandMap")->Unit(benchmark::kMicrosecond);

// Cluster text from the TNC to the store, list and band map.  arg: spot
// lines the TNC sends at once (20: a busy cluster; 400: a burst of about
// 30 KB, taken in bounded portions over several ticks).  Every tenth line
// is an announcement, every tenth spot a repeat that the filter drops.
void BM_TncIntakeToStore(benchmark::State& state)
{
    SpotFixture fx(true);
    test::FakeRadio tnc(test::FakeRadio::Family::Raw);
    if (!fx.ok || !tnc.ok()) {
        state.SkipWithError("no country table or no pseudo-terminal");
        return;
    }
    tnc.writeComPorts(fx.work.path(), 1);
    PacketSpotfrm& spotting = DefaultInstance<PacketSpotfrm>();
    spotting.List1->setCurrentRow(1); // TNC, port 1
    spotting.Command1_Click();
    if (!spotting.Timer1->isActive()) {
        state.SkipWithError("the TNC port did not open");
        return;
    }
    spotting.Timer1->stop(); // ticks are run here, and timed
    const int batch = static_cast<int>(state.range(0));
    uint32_t seed = 17;
    int64_t lines = 0;
    double longestTickMs = 0;
    int ticks = 0;
    QString previous;
    for (auto _ : state) {
        QString text;
        QString last;
        for (int i = 0; i < batch; ++i) {
            if (i % 10 == 9) {
                last = QStringLiteral("To ALL de K1TTT: band open to EU %1\r\n").arg(nextRandom(seed));
            } else if (i % 10 == 5 && !previous.isEmpty()) {
                last = previous; // a repeat
            } else {
                last = QStringLiteral("DX de W3LPL:     %1.0  %2 CW 599                         1234Z\r\n")
                           .arg(14000 + static_cast<int>(nextRandom(seed) % 350), 5)
                           .arg(randomCall(seed), -12);
                previous = last;
            }
            text += last;
        }
        if (batch % 10 == 0) // end on a line the filter keeps
            text += last = QStringLiteral("To ALL de K1TTT: end of burst %1\r\n").arg(nextRandom(seed));
        const QByteArray bytes = text.toLatin1();
        auto tick = [&] {
            test::pumpFor(0);
            const auto t0 = std::chrono::steady_clock::now();
            spotting.Timer1_Timer();
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            longestTickMs = std::max(longestTickMs, ms);
            ++ticks;
        };
        // The TNC writes as the line carries it; a tick comes in between.
        for (qsizetype p = 0; p < bytes.size(); p += 2048) {
            tnc.send(bytes.mid(p, 2048));
            tick();
        }
        for (int guard = 0; guard < 2000 && !spotting.paneText().endsWith(last); ++guard)
            tick();
        lines += batch;
    }
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
    state.counters["longestTickMs"] = longestTickMs;
    state.counters["ticks"] = ticks;
    state.counters["listRows"] = fx.window->txtDX->topLevelItemCount();
}
BENCHMARK(BM_TncIntakeToStore)->Arg(20)->Arg(400)->ArgName("lines")->Unit(benchmark::kMillisecond);

// The spotting window's Telnet link to a cluster listening on `server`:
// the cluster's end of the connection, or nullptr when none came.
QTcpSocket* connectTelnet(QTcpServer& server)
{
    QTcpSocket* peer = nullptr;
    const auto taken = QObject::connect(&server, &QTcpServer::newConnection,
                                        [&] { peer = server.nextPendingConnection(); });
    PacketSpotfrm& spotting = DefaultInstance<PacketSpotfrm>();
    spotting.List1->setCurrentRow(2); // Telnet
    spotting.txtTelnetHost->setText(QStringLiteral("127.0.0.1"));
    spotting.txtTelnetPort->setText(QString::number(server.serverPort()));
    spotting.Command1_Click();
    for (int i = 0; i < 200 && (peer == nullptr || spotting.Winsock1->state() != QAbstractSocket::ConnectedState); ++i)
        test::pumpFor(5);
    QObject::disconnect(taken);
    return peer;
}

// Cluster text from a Telnet cluster on the loopback interface to the
// store, list and band map.  args: spot lines sent at once; 1 with the band
// map window shown as well.  Until the window shows the last spot.  The
// longest pass of the event loop while the text flows bounds the longest
// data event.
void BM_TelnetIntakeToStore(benchmark::State& state)
{
    SpotFixture fx(true);
    SpectrumMap* map = nullptr;
    if (state.range(1) == 1) {
        map = &DefaultInstance<SpectrumMap>();
        map->show();
    }
    QTcpServer server;
    if (!fx.ok || !server.listen(QHostAddress::LocalHost)) {
        state.SkipWithError("no country table or no loopback server");
        return;
    }
    QTcpSocket* peer = connectTelnet(server);
    PacketSpotfrm& spotting = DefaultInstance<PacketSpotfrm>();
    if (peer == nullptr) {
        state.SkipWithError("no connection");
        return;
    }
    const int batch = static_cast<int>(state.range(0));
    uint32_t seed = 23;
    int64_t lines = 0;
    double longestPassMs = 0;
    for (auto _ : state) {
        QByteArray text;
        QString last;
        for (int i = 0; i < batch; ++i) {
            last = QStringLiteral("DX de W3LPL:     %1.0  %2 CW 599                         1234Z\r\n")
                       .arg(14000 + static_cast<int>(nextRandom(seed) % 350), 5)
                       .arg(randomCall(seed), -12);
            text += last.toLatin1();
        }
        peer->write(text);
        peer->flush();
        // Until the pane holds the last line and, with the band map window
        // shown, the window shows its spot.
        const QString lastCall = parseDXSpotLine(last).call;
        for (int guard = 0; guard < 100000
                            && (!spotting.paneText().endsWith(last) || (map && !showsNewest(*map, lastCall)));
             ++guard) {
            const auto t0 = std::chrono::steady_clock::now();
            QCoreApplication::processEvents();
            longestPassMs = std::max(longestPassMs, std::chrono::duration<double, std::milli>(
                                                        std::chrono::steady_clock::now() - t0)
                                                        .count());
        }
        lines += batch;
    }
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
    state.counters["longestPassMs"] = longestPassMs;
}
BENCHMARK(BM_TelnetIntakeToStore)
    ->Args({20, 0})
    ->Args({1000, 0})
    ->Args({1000, 1})
    ->ArgNames({"lines", "spectrumMap"})
    ->Unit(benchmark::kMillisecond);

// A cluster sending spot lines at a steady rate from its own thread while
// the band map window is shown: 50 lines every 10 ms (5000 lines/s) for
// the given seconds.  Lag: how long after the last line was due the window
// showed its spot (near 0 when the intake keeps up); the longest pass of
// the event loop meanwhile.
void BM_TelnetPacedIntakeToBandMapWindow(benchmark::State& state)
{
    SpotFixture fx(true);
    SpectrumMap& map = DefaultInstance<SpectrumMap>();
    map.show();
    QTcpServer server;
    if (!fx.ok || !server.listen(QHostAddress::LocalHost)) {
        state.SkipWithError("no country table or no loopback server");
        return;
    }
    QTcpSocket* peer = connectTelnet(server);
    PacketSpotfrm& spotting = DefaultInstance<PacketSpotfrm>();
    if (peer == nullptr) {
        state.SkipWithError("no connection");
        return;
    }
    const int linesPerSecond = static_cast<int>(state.range(0));
    const int seconds = static_cast<int>(state.range(1));
    const int perTick = linesPerSecond / 100;
    const int ticks = seconds * 100;
    const int fd = static_cast<int>(peer->socketDescriptor());
    uint32_t seed = 31;
    int64_t lines = 0;
    double lagMs = 0;
    double longestPassMs = 0;
    int run = 0;
    for (auto _ : state) {
        // Every 10 ms one piece of the text, prepared beforehand.
        std::vector<QByteArray> pieces;
        QString lastCall;
        for (int t = 0; t < ticks; ++t) {
            QByteArray piece;
            for (int i = 0; i < perTick; ++i) {
                lastCall = t == ticks - 1 && i == perTick - 1 ? QStringLiteral("ZZ9END%1").arg(run)
                                                              : randomCall(seed);
                piece += QStringLiteral("DX de W3LPL:     %1.0  %2 CW 599                         1234Z\r\n")
                             .arg(14001 + static_cast<int>(nextRandom(seed) % 349), 5)
                             .arg(lastCall, -12)
                             .toLatin1();
            }
            pieces.push_back(piece);
        }
        ++run;
        const auto start = std::chrono::steady_clock::now();
        const auto lastDue = start + std::chrono::milliseconds(10 * (ticks - 1));
        std::thread cluster([&] {
            for (int t = 0; t < ticks; ++t) {
                std::this_thread::sleep_until(start + std::chrono::milliseconds(10 * t));
                const QByteArray& p = pieces[static_cast<size_t>(t)];
                for (qsizetype sent = 0; sent < p.size();) {
                    const ssize_t n = ::send(fd, p.constData() + sent, static_cast<size_t>(p.size() - sent), MSG_NOSIGNAL);
                    if (n <= 0)
                        return;
                    sent += n;
                }
            }
        });
        const auto deadline = lastDue + std::chrono::seconds(120);
        while (!showsNewest(map, lastCall) && std::chrono::steady_clock::now() < deadline) {
            const auto t0 = std::chrono::steady_clock::now();
            QCoreApplication::processEvents();
            longestPassMs = std::max(longestPassMs, std::chrono::duration<double, std::milli>(
                                                        std::chrono::steady_clock::now() - t0)
                                                        .count());
        }
        lagMs = std::max(lagMs, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - lastDue).count());
        cluster.join();
        lines += static_cast<int64_t>(perTick) * ticks;
    }
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
    state.counters["lagMs"] = lagMs;
    state.counters["longestPassMs"] = longestPassMs;
}
BENCHMARK(BM_TelnetPacedIntakeToBandMapWindow)
    ->Args({5000, 5})
    ->ArgNames({"linesPerSecond", "seconds"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One drawing pass of the band map with 50 spots on the band.
void BM_DisplayBandMapLabels(benchmark::State& state)
{
    SpotFixture fx(true);
    uint32_t seed = 99;
    for (int i = 0; i < 50; ++i)
        fx.spot(seed, 14001 + i * 7);
    for (auto _ : state)
        fx.window->DisplayBandMapLabels();
    int shown = 0;
    for (const auto& [i, l] : fx.window->lblDXSpot)
        shown += l->isHidden() ? 0 : 1;
    state.counters["labels"] = shown;
}
BENCHMARK(BM_DisplayBandMapLabels)->Unit(benchmark::kMicrosecond);

// A sorted table of 10000 distinct prefixes spread over digits and letters.
CountryTable bigTable()
{
    std::set<QString> prefixes;
    const QString chars = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    for (QChar a : chars)
        for (QChar b : chars) {
            prefixes.insert(QString(a) + b);
            for (QChar c : chars)
                if (prefixes.size() < 10000 && (c.unicode() * 7 + b.unicode()) % 5 == 0)
                    prefixes.insert(QString(a) + b + c);
        }
    CountryTable t;
    int i = 0;
    for (const QString& p : prefixes) {
        if (i == CountryTable::Capacity)
            break;
        ++i;
        t.CountryPrefix[static_cast<size_t>(i)] = p;
        t.CountryName[static_cast<size_t>(i)] = QStringLiteral("Country ") + p;
    }
    t.CountryCount = i;
    return t;
}

// arg: 0 the shipped arrlpre2.txt, 1 a table of 10000 rows.
void BM_LookupSpotCountry(benchmark::State& state)
{
    QTemporaryDir work;
    Folders::instance().WorkingDirectory = work.path();
    QDir::setCurrent(work.path());
    CountryTable table;
    if (state.range(0) == 0) {
        if (!loadShippedCountries(work.path())) {
            state.SkipWithError("arrlpre2.txt not found");
            return;
        }
        table = CountryTable::instance();
    } else {
        table = bigTable();
    }
    std::vector<QString> calls;
    uint32_t seed = 7;
    for (int i = 0; i < 1000; ++i)
        calls.push_back(randomCall(seed));
    size_t n = 0;
    long long reads = 0;
    int most = 0;
    for (auto _ : state) {
        int r = 0;
        benchmark::DoNotOptimize(LookupSpotCountry(calls[n++ % calls.size()], table, &r));
        reads += r;
        most = std::max(most, r);
    }
    state.counters["tableRows"] = table.CountryCount;
    state.counters["rowsReadAvg"] = static_cast<double>(reads) / static_cast<double>(state.iterations());
    state.counters["rowsReadMax"] = most;
}
BENCHMARK(BM_LookupSpotCountry)->Arg(0)->Arg(1)->ArgName("table10000")->Unit(benchmark::kNanosecond);

} // namespace

ZQ_OFFSCREEN_BENCHMARK_MAIN()
