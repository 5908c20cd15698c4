// Spot timings.  Through the real log window (offscreen): BandMapSpots with
// a full store and 200 list rows, once with the spot list shown and once
// with the band map; one DisplayBandMapLabels pass over 50 spots on the
// band.  The logic alone: LookupSpotCountry on the shipped arrlpre2.txt and
// on a table of 10000 rows, with the rows read per lookup as a counter.
#include "common/Folders.h"
#include "common/Form1.h"
#include "common/WindowRegistry.h"
#include "logstore/PositionTables.h"
#include "logstore/StationSettings.h"
#include "logwindow/Outfrm.h"
#include "platform/Paths.h"
#include "platform/Prompt.h"
#include "spots/SpotCountryLookup.h"
#include "spots/PacketSpotfrm.h"
#include "spots/SpotStore.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <set>

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

// The out-of-state window on an empty log with the shipped country table,
// its spot area opened as the list or the band map of band 20.
struct SpotFixture {
    QTemporaryDir work;
    QTemporaryDir docs;
    Outfrm* window = nullptr;
    bool ok = false;

    explicit SpotFixture(bool bandMap)
    {
        WindowRegistry::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setPrompt(std::make_unique<ScriptedPrompt>());
        setDocumentsFolderOverride(docs.path());
        auto& f = Folders::instance();
        f.WorkingDirectory = work.path();
        f.UserDirectory = docs.path() + QStringLiteral("/Brelvox Software/Carvonia");
        f.SharedDirectory = docs.path() + QStringLiteral("/Brelvox Software/Shared");
        QDir().mkpath(f.UserDirectory + QStringLiteral("/BACKUP"));
        QDir().mkpath(f.SharedDirectory);
        QDir::setCurrent(work.path());
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
    ~SpotFixture()
    {
        WindowRegistry::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setPrompt(nullptr);
        setDocumentsFolderOverride(QString());
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
    for (auto _ : state)
        fx.spot(seed, 14000 + (n++ * 7) % 350);
    state.counters["rows"] = fx.window->txtDX->topLevelItemCount();
    state.counters["spots/s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BandMapSpots)->Arg(0)->Arg(1)->ArgName("bandMap")->Unit(benchmark::kMicrosecond);

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

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
