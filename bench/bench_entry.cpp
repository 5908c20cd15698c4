// Contact entry timings at log sizes of 1000 and 11000 contacts.
// The logic alone: logging one contact (checks, duplicate search, store,
// lists, totals, rates, the rows of the contact list) with a no-op append,
// one key typed into the call field (possible duplicates), leaving the call
// field (DupCheck2) and the rebuilds of a reload.
// Through the real log window (offscreen): Mains logging one contact (with
// the synced append to log.txt, which the log store's benchmark measures on
// its own), one key typed into the call field, and ReloadLog.
#include "OffscreenMain.h"
#include "BenchWorld.h"

#include "common/EntryBox.h"
#include "platform/Folders.h"
#include "common/WindowRegistry.h"
#include "entry/ContactIndex.h"
#include "entry/ContactListRows.h"
#include "entry/ContactStore.h"
#include "entry/DupeChecks.h"
#include "entry/EntryChecks.h"
#include "entry/EntryState.h"
#include "entry/Multipliers.h"
#include "entry/Scoring.h"
#include "logstore/ContactLog.h"
#include "logstore/CountyTable.h"
#include "logstore/LogFileStore.h"
#include "logstore/StationSettings.h"
#include "logwindow/Outfrm.h"
#include "logstore/SectionTable.h"
#include "platform/Paths.h"
#include "platform/Prompt.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace zq;

namespace {

const char* const Bands[] = {"160", "80", "40", "20", "15", "10", "6"};
const char* const Modes[] = {"PH", "CW", "DG"};

uint32_t nextRandom(uint32_t& s)
{
    s = s * 1664525u + 1013904223u;
    return s >> 8;
}

QString randomCall(uint32_t& s)
{
    static const char* const prefixes[] = {"K", "W", "N", "AA", "KB", "VE", "WA", "KD"};
    QString c = QString::fromLatin1(prefixes[nextRandom(s) % 8]);
    c += QChar('0' + static_cast<int>(nextRandom(s) % 10));
    const int letters = 2 + static_cast<int>(nextRandom(s) % 2);
    for (int i = 0; i < letters; ++i)
        c += QChar('A' + static_cast<int>(nextRandom(s) % 26));
    return c;
}

void setUpCounties()
{
    auto& t = CountyTable::instance();
    for (int i = 1; i <= 77; ++i)
        t.CountyName[static_cast<size_t>(i)] = QStringLiteral("County %1").arg(i, 2, 10, QLatin1Char('0'));
    t.CountyCount = 77;
    SectionTable::instance().build();
}

// A log of n contacts: about 3 contacts per call, spread over bands, modes
// and counties, one minute apart ending at 18:30 UTC.
void fillLog(int n, bool inState)
{
    ContactLog& log = ContactLog::instance();
    log.reset();
    uint32_t seed = 12345;
    std::vector<QString> calls;
    for (int i = 0; i < n / 3 + 1; ++i)
        calls.push_back(randomCall(seed));
    const QDateTime end(QDate(2026, 9, 12), QTime(18, 30, 0), Qt::UTC);
    for (int i = 1; i <= n; ++i) {
        ContactRecord& r = log[i];
        r.LogCall = calls[nextRandom(seed) % calls.size()];
        r.LogRstSent = QStringLiteral("59");
        r.LogRstReceived = QStringLiteral("59");
        const int county = 1 + static_cast<int>(nextRandom(seed) % 77);
        if (inState) {
            const bool home = nextRandom(seed) % 3 == 0;
            r.LogSpc = home ? QStringLiteral("ZQ") : SectionTable::instance().SectionCode[1 + nextRandom(seed) % 59];
            if (home)
                r.LogCounty = CountyTable::instance().CountyName[static_cast<size_t>(county)];
            r.LogCountySent = QStringLiteral("County 01");
        } else {
            r.LogCounty = CountyTable::instance().CountyName[static_cast<size_t>(county)];
        }
        const QDateTime t = end.addSecs(-60LL * (n - i));
        r.LogDate = t.toString(QStringLiteral("yyyy/MM/dd"));
        r.LogTime = t.toString(QStringLiteral("HH:mm:ss"));
        r.LogMode = QString::fromLatin1(Modes[nextRandom(seed) % 3]);
        r.LogBand = QString::fromLatin1(Bands[nextRandom(seed) % 7]);
    }
    log.ContactCount = n;
    ContactIndex::instance().invalidate();
    ContactIndex::instance().sync();
    recountContacts(ContestTotals::instance());
}

DupeStation station(bool inState)
{
    DupeStation s;
    s.band = QStringLiteral("20");
    s.mode = QStringLiteral("PH");
    s.homeState = QStringLiteral("ZQ");
    s.ownCounty = QStringLiteral("County 01");
    s.inState = inState;
    return s;
}

// Everything the logging of one contact does apart from widgets and the
// disk: the checks, the final duplicate search, the store, the county list,
// the totals, the rate meters and the 20 rows of the contact list.
void logOneContact(const QString& call, CountyLists& lists, benchmark::State& state)
{
    auto& st = StationSettings::instance();
    const EntryTexts row{call, QStringLiteral("59"), QString(), QStringLiteral("County 07"), QStringLiteral("59")};
    auto failures = requiredFieldFailures(row, false, st.HomeStateCode);
    benchmark::DoNotOptimize(failures);
    if (!isTableCounty(row.sec))
        state.SkipWithError("county");
    FinalDupeResult dupe = findFinalDuplicate({call, row.sec, QString()}, station(false));
    benchmark::DoNotOptimize(dupe);
    NewContact c;
    c.call = call;
    c.rstSent = row.rstS;
    c.rstReceived = row.rstR;
    c.county = row.sec;
    if (storeContact(makeContactRecord(c), [] { return true; }) != StoreOutcome::Stored)
        state.SkipWithError("store");
    lists.addCounty(ContactLog::instance()[ContactLog::instance().ContactCount].LogCounty);
    const TotalsText totals = totalsText(ContestTotals::instance(), static_cast<int>(lists.worked.size()), 0, false);
    benchmark::DoNotOptimize(totals);
    auto rates = rateMeters(QDateTime(QDate(2026, 9, 12), QTime(18, 31, 0), Qt::UTC));
    benchmark::DoNotOptimize(rates);
    const int count = ContactLog::instance().ContactCount;
    for (int i = count; i >= firstListedContact(count, false); --i) {
        QStringList cells = contactRow(i, false, false);
        benchmark::DoNotOptimize(cells);
    }
}

// Logs contacts into a log that starts 200 short of the size, so the
// average is taken around the size itself (the log cannot shrink without a
// reload, and a full log takes nothing more).
void BM_LogOneContact(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    setUpCounties();
    StationSettings::instance().CurrentBand = QStringLiteral("20");
    StationSettings::instance().CurrentMode = QStringLiteral("PH");
    fillLog(size - 200, false);
    CountyLists lists;
    lists.rebuild();
    uint32_t seed = 999;
    for (auto _ : state)
        logOneContact(randomCall(seed), lists, state);
    state.counters["contacts"] = ContactLog::instance().ContactCount;
}
BENCHMARK(BM_LogOneContact)->Arg(1000)->Arg(11000)->Iterations(200)->Unit(benchmark::kMicrosecond);

// One key typed into the call field: the possible-duplicates list of the
// current band and mode.  Arg 1 is the typed text: "K" + digit matches many
// calls (the list fills and stops early), "QQ" matches none (a full scan of
// the band and mode).
void BM_PossibleDupesOneKey(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    const bool many = state.range(1) == 1;
    const bool inState = state.range(2) == 1;
    setUpCounties();
    fillLog(size, inState);
    const QString typed = many ? QStringLiteral("K") : QStringLiteral("Q");
    const int key = many ? '5' : 'Q';
    for (auto _ : state) {
        PossibleDupesResult r = possibleDupes(typed, key, station(inState), true, true);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_PossibleDupesOneKey)
    ->ArgsProduct({{1000, 11000}, {1, 0}, {0, 1}})
    ->ArgNames({"log", "manyMatch", "inState"})
    ->Unit(benchmark::kMicrosecond);

// Leaving the call field: the previous contacts of a call worked several
// times, with the list of previous contacts on.
void BM_DupCheck2(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    setUpCounties();
    fillLog(size, false);
    const QString call = ContactLog::instance()[size / 2].LogCall;
    for (auto _ : state) {
        DupCheck2Result r = dupCheck2({call, QString(), QString()}, station(false), true);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_DupCheck2)->Arg(1000)->Arg(11000)->Unit(benchmark::kMicrosecond);

// What a reload rebuilds from the contacts (the file read is the log
// store's): points and mode counts, the index, the county lists, the state
// marks, the DX list, the rates and the 20 list rows.
void BM_ReloadRebuilds(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    setUpCounties();
    fillLog(size, true);
    for (auto _ : state) {
        recountContacts(ContestTotals::instance());
        ContactIndex::instance().invalidate();
        ContactIndex::instance().sync();
        CountyLists lists;
        lists.rebuild();
        MultiplierMatrix m;
        rebuildStateMatrix(m, SectionTable::instance().SectionCode);
        recountCells(m);
        QStringList dx = rebuildDxList();
        auto rates = rateMeters(QDateTime(QDate(2026, 9, 12), QTime(18, 31, 0), Qt::UTC));
        benchmark::DoNotOptimize(lists);
        benchmark::DoNotOptimize(dx);
        benchmark::DoNotOptimize(rates);
        for (int i = size; i >= firstListedContact(size, false); --i) {
            QStringList cells = contactRow(i, true, false);
            benchmark::DoNotOptimize(cells);
        }
    }
}
BENCHMARK(BM_ReloadRebuilds)->Arg(1000)->Arg(11000)->Unit(benchmark::kMillisecond);

// The pieces of the rebuild at 11000 contacts: 0 points and mode counts,
// 1 the look-up index, 2 the county lists, 3 the state marks, 4 the DX list.
void BM_ReloadPart(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    const int part = static_cast<int>(state.range(1));
    static const char* const names[] = {"points", "index", "counties", "states", "dx"};
    state.SetLabel(names[part]);
    setUpCounties();
    fillLog(size, true);
    for (auto _ : state) {
        switch (part) {
        case 0: recountContacts(ContestTotals::instance()); break;
        case 1: ContactIndex::instance().invalidate(); ContactIndex::instance().sync(); break;
        case 2: { CountyLists lists; lists.rebuild(); benchmark::DoNotOptimize(lists); break; }
        case 3: { MultiplierMatrix m; rebuildStateMatrix(m, SectionTable::instance().SectionCode); recountCells(m); break; }
        case 4: { QStringList dx = rebuildDxList(); benchmark::DoNotOptimize(dx); break; }
        }
    }
}
BENCHMARK(BM_ReloadPart)->ArgsProduct({{11000}, {0, 1, 2, 3, 4}})->Unit(benchmark::kMillisecond);

// --- Through the log window ----------------------------------------------

// A working folder with 77 counties and a log of n contacts, and the
// out-of-state window started on it (the open-existing-log question is
// answered Yes by the scripted prompt).
struct WindowFixture : zq::bench::BenchWorld {
    Outfrm* window = nullptr;

    explicit WindowFixture(int n)
    {
        QByteArray counties;
        for (int i = 1; i <= 77; ++i)
            counties += QStringLiteral("\"ZQCounty %1\",\"C%1\"\r\n").arg(i, 2, 10, QLatin1Char('0')).toUtf8();
        writeFile(QStringLiteral("county2.txt"), counties);
        CountyTable::instance() = CountyTable{};
        setUpCounties();
        fillLog(n, false);
        QByteArray log;
        for (int i = 1; i <= n; ++i)
            log += formatContactLine(ContactLog::instance()[i]);
        writeFile(QStringLiteral("log.txt"), log);
        ContactLog::instance().reset();

        auto& st = StationSettings::instance();
        st = StationSettings{};
        st.CurrentBand = QStringLiteral("20");
        st.CurrentMode = QStringLiteral("PH");
        st.OutOfStateFlag = 1;
        window = &DefaultInstance<Outfrm>();
        window->show();
        QCoreApplication::processEvents();
    }
};

// Mains of the out-of-state window with the row typed in (arg 1: every
// contact listed instead of the newest 20).  The log starts 200 short of
// the size, as above.
void BM_WindowMains(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    EntryState::instance().ListAllContactsFlag = state.range(1) == 1 ? 1 : 0;
    WindowFixture fx(size - 200);
    uint32_t seed = 777;
    for (auto _ : state) {
        Outfrm& w = *fx.window;
        w.txtCall->setText(randomCall(seed));
        w.txtRSTR->setText(QStringLiteral("59"));
        w.txtSec->setText(QStringLiteral("County 07"));
        w.txtRSTS->setText(QStringLiteral("59"));
        w.Mains();
        if (!w.txtCall->text().isEmpty() && !w.lblDialog->text().startsWith(QStringLiteral("Duplicate")))
            state.SkipWithError("not logged");
    }
    state.counters["contacts"] = ContactLog::instance().ContactCount;
    EntryState::instance().ListAllContactsFlag = 0;
}
BENCHMARK(BM_WindowMains)
    ->ArgsProduct({{1000, 11000}, {0, 1}})
    ->ArgNames({"log", "listAll"})
    ->Iterations(200)
    ->Unit(benchmark::kMicrosecond);

// One key typed into the call field ("K" then "5"): the key handling with
// the possible-duplicates display.
void BM_WindowCallKey(benchmark::State& state)
{
    WindowFixture fx(static_cast<int>(state.range(0)));
    Outfrm& w = *fx.window;
    for (auto _ : state) {
        w.txtCall->setText(QStringLiteral("K"));
        w.txtCall->setCursorPosition(1);
        QKeyEvent key(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
        QCoreApplication::sendEvent(w.txtCall, &key);
        benchmark::DoNotOptimize(w.lblDupe->text());
    }
}
BENCHMARK(BM_WindowCallKey)->Arg(1000)->Arg(11000)->Unit(benchmark::kMicrosecond);

// ReloadLog: read log.txt and rebuild every count, list and label.
void BM_WindowReloadLog(benchmark::State& state)
{
    WindowFixture fx(static_cast<int>(state.range(0)));
    for (auto _ : state)
        fx.window->ReloadLog();
}
BENCHMARK(BM_WindowReloadLog)->Arg(1000)->Arg(11000)->Unit(benchmark::kMillisecond);

} // namespace

ZQ_OFFSCREEN_BENCHMARK_MAIN()
