// Timings of log editing and the county windows.
// - Done of the out-of-state edit dialog (every test and the duplicate scan
//   over the whole log), at 1000 and 11000 contacts, and the scan alone.
// - One completion keystroke in a county box over 1000 counties (a hit
//   near the end of the list, and a key that matches no county, which
//   searches the whole list).
// - Loading the county list window with 1000 counties.
// - The whole edit round through the log window at 11000 contacts: Edit,
//   Done, the rewrite of log.txt and ReloadLog.
#include "OffscreenMain.h"
#include "BenchWorld.h"

#include "common/EntryBox.h"
#include "platform/Folders.h"
#include "common/ModalShow.h"
#include "common/WindowRegistry.h"
#include "entry/TypeAhead.h"
#include "logstore/ContactLog.h"
#include "logstore/CountyTable.h"
#include "logstore/LogFileStore.h"
#include "logstore/StationSettings.h"
#include "logstore/ArchiveRestore.h"
#include "logwindow/Outfrm.h"
#include "output/EditChecks.h"
#include "output/ZQEditOut.h"
#include "output/frmCountyList.h"
#include "platform/Paths.h"
#include "platform/Prompt.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

using namespace zq;

namespace {

const char* const Bands[] = {"160", "80", "40", "20", "15", "10", "6"};
const char* const Modes[] = {"PH", "CW", "DG"};

// n counties "County 0001".. with abbreviations "C0001"..
void setUpCounties(int n)
{
    CountyTable& t = CountyTable::instance();
    t = CountyTable{};
    for (int i = 1; i <= n; ++i) {
        t.CountyName[static_cast<size_t>(i)] = QStringLiteral("County %1").arg(i, 4, 10, QLatin1Char('0'));
        t.CountyAbbrev[static_cast<size_t>(i)] = QStringLiteral("C%1").arg(i, 4, 10, QLatin1Char('0'));
    }
    t.CountyCount = static_cast<float>(n);
}

// A log of n out-of-state contacts, calls K0AAA.. (about 3 contacts each),
// over bands, modes and 77 counties.
void fillLog(int n)
{
    ContactLog& log = ContactLog::instance();
    log.reset();
    for (int i = 1; i <= n; ++i) {
        ContactRecord& r = log[i];
        const int call = i / 3;
        r.LogCall = QStringLiteral("K%1%2%3%4")
                        .arg(call % 10)
                        .arg(QChar('A' + call / 10 % 26))
                        .arg(QChar('A' + call / 260 % 26))
                        .arg(QChar('A' + call / 6760 % 26));
        r.LogRstSent = QStringLiteral("59");
        r.LogRstReceived = QStringLiteral("59");
        r.LogCounty = CountyTable::instance().CountyName[static_cast<size_t>(1 + i % 77)];
        r.LogDate = QStringLiteral("2026/09/12");
        r.LogTime = QStringLiteral("18:%1:00").arg(i % 60, 2, 10, QLatin1Char('0'));
        r.LogMode = QString::fromLatin1(Modes[i % 3]);
        r.LogBand = QString::fromLatin1(Bands[i / 3 % 7]);
    }
    log.ContactCount = n;
}

// Done of the edit dialog on contact n/2 with a changed report: each
// iteration gets a fresh dialog (not timed), as each edit does.
void BM_EditDone(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    setUpCounties(77);
    fillLog(n);
    ContactListState::instance().EditRecordNumber = static_cast<float>(n / 2);
    for (auto _ : state) {
        state.PauseTiming();
        auto& d = DefaultInstance<ZQEditOut>();
        d.txtEditCk->setText(QStringLiteral("57"));
        state.ResumeTiming();
        d.cmdDone_Click();
        state.PauseTiming();
        if (!d.isHidden())
            state.SkipWithError("not saved");
        WindowRegistry::unload<ZQEditOut>();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_EditDone)->Arg(1000)->Arg(11000)->Unit(benchmark::kMicrosecond);

// The duplicate scan alone.
void BM_EditDuplicateScan(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    setUpCounties(77);
    fillLog(n);
    const ContactRecord& r = ContactLog::instance()[n / 2];
    const EditDupeKey key{r.LogCall, r.LogBand, r.LogMode, r.LogCounty, QString(), false};
    for (auto _ : state)
        benchmark::DoNotOptimize(editDuplicates(ContactLog::instance(), n / 2, key));
}
BENCHMARK(BM_EditDuplicateScan)->Arg(1000)->Arg(11000)->Unit(benchmark::kMicrosecond);

// One key typed into a county box over 1000 counties: arg 0 a hit
// ("County 09" completes near the end), arg 1 a key that matches none.
void BM_CompletionKeystroke(benchmark::State& state)
{
    setUpCounties(1000);
    const CountyTable& t = CountyTable::instance();
    EntryBox box;
    const bool miss = state.range(0) == 1;
    for (auto _ : state) {
        box.setText(QStringLiteral("County 0"));
        box.setCursorPosition(8);
        int key = miss ? 'x' : '9';
        TypeAheadComplete(box, key, t.CountyName, t.count(), TypeAheadRules::editCounty());
        benchmark::DoNotOptimize(key);
    }
}
BENCHMARK(BM_CompletionKeystroke)->Arg(0)->Arg(1)->ArgNames({"miss"})->Unit(benchmark::kMicrosecond);

// Loading the county list window (fit and 1000 rows) and unloading it.
void BM_FillCountyList(benchmark::State& state)
{
    setUpCounties(1000);
    for (auto _ : state) {
        auto& list = DefaultInstance<frmCountyList>();
        if (list.ListView1->topLevelItemCount() != 1000)
            state.SkipWithError("rows missing");
        WindowRegistry::unload<frmCountyList>();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
BENCHMARK(BM_FillCountyList)->Unit(benchmark::kMillisecond);

// The edit round in the out-of-state window on a log of n contacts: the
// newest row chosen, Edit, the report changed, Done, then the rewrite of
// log.txt and ReloadLog that the Edit command runs.
void BM_EditRound(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    zq::bench::BenchWorld world;

    QByteArray counties;
    for (int i = 1; i <= 77; ++i)
        counties += QStringLiteral("\"ZQCounty %1\",\"C%1\"\r\n").arg(i, 4, 10, QLatin1Char('0')).toUtf8();
    setUpCounties(77);
    fillLog(n);
    QByteArray log;
    for (int i = 1; i <= n; ++i)
        log += formatContactLine(ContactLog::instance()[i]);
    world.writeFile(QStringLiteral("county2.txt"), counties);
    world.writeFile(QStringLiteral("log.txt"), log);
    ContactLog::instance().reset();
    auto& st = StationSettings::instance();
    st = StationSettings{};
    st.CurrentBand = QStringLiteral("20");
    st.CurrentMode = QStringLiteral("PH");
    st.OutOfStateFlag = 1;
    Outfrm& w = DefaultInstance<Outfrm>();
    w.show();
    QCoreApplication::processEvents();

    int report = 0;
    setModalShowHandlerForTesting([&](QWidget& d) {
        auto& dialog = static_cast<ZQEditOut&>(d);
        dialog.txtEditCk->setText(QString::number(50 + report++ % 10));
        dialog.cmdDone_Click();
    });
    for (auto _ : state) {
        w.ListView1->selectRow(0);
        w.cmdEdit->click();
    }
    if (ContactLog::instance().ContactCount != n)
        state.SkipWithError("log changed size");
    setModalShowHandlerForTesting(nullptr);
}
BENCHMARK(BM_EditRound)->Arg(11000)->Unit(benchmark::kMillisecond);

} // namespace

ZQ_OFFSCREEN_BENCHMARK_MAIN()
