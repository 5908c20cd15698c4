// Band and mode selection in the log window: the menus, the two labels and
// what every change does (save the preferences, reload the log).

#include "support/LogWindowTestSupport.h"

#include "common/EntryBox.h"
#include "entry/ContestTotals.h"

#include <QTest>

using namespace zq;
using namespace zq::test;

namespace {

const char* const kBandItems[] = {"mnuBand160Ch", "mnuBand80Ch", "mnuBand40Ch", "mnuBand20Ch",
                                  "mnuBand15Ch",  "mnuBand10Ch", "mnuBand6Ch"};

QString checkedBandItem(LogWindow& w)
{
    QString out;
    for (const char* name : kBandItems)
        if (w.findChild<QAction*>(QLatin1String(name))->isChecked())
            out += QLatin1String(name);
    return out;
}

QString checkedModeItem(LogWindow& w)
{
    QString out;
    for (const char* name : {"mnu160", "mnuSSB", "mnuDigital"})
        if (w.findChild<QAction*>(QLatin1String(name))->isChecked())
            out += QLatin1String(name);
    return out;
}

} // namespace

TEST_F(LogWindowTest, BandItemSetsTheBandSavesAndReloadsTheLog)
{
    writeLog();
    LogWindow& w = start(1);
    ASSERT_EQ(ContactLog::instance().ContactCount, 5);

    // A contact written to the file behind the window's back shows after the
    // reload of the band change.
    QFile f(env.workPath(QStringLiteral("log.txt")));
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write(formatContactLine(contact(QStringLiteral("W9IJ"), QStringLiteral("Ashcombe"),
                                      QStringLiteral("PH"))));
    f.close();

    find(w, "mnuBand40Ch")->trigger();
    EXPECT_EQ(st.CurrentBand, QStringLiteral("40"));
    EXPECT_EQ(w.Label24->text(), QStringLiteral("40"));
    EXPECT_EQ(checkedBandItem(w), QStringLiteral("mnuBand40Ch"));
    EXPECT_EQ(savedSettings().CurrentBand, QStringLiteral("40"));
    EXPECT_EQ(ContactLog::instance().ContactCount, 6);
    EXPECT_EQ(ContestTotals::instance().QsoPoints, 15);
    EXPECT_EQ(ContestTotals::instance().PhoneContactCount, 3);

    // The checked item again still saves and reloads.
    env.writeWorkFile(QStringLiteral("QSOpref.txt"), "marker");
    find(w, "mnuBand40Ch")->trigger();
    EXPECT_NE(env.readWorkFile(QStringLiteral("QSOpref.txt")), QByteArray("marker"));
    EXPECT_EQ(checkedBandItem(w), QStringLiteral("mnuBand40Ch"));
    EXPECT_EQ(ContestTotals::instance().QsoPoints, 15); // the same after a second reload
}

TEST_F(LogWindowTest, BandLabelClicksStepAroundTheRing)
{
    st.CurrentBand = QStringLiteral("40");
    LogWindow& w = start(0);
    QStringList seen;
    for (int i = 0; i < 7; ++i) {
        QTest::mouseClick(w.Label24, Qt::LeftButton);
        seen << st.CurrentBand;
        EXPECT_EQ(w.Label24->text(), st.CurrentBand);
    }
    EXPECT_EQ(seen, QStringList({"20", "15", "10", "6", "160", "80", "40"}));
    EXPECT_EQ(checkedBandItem(w), QStringLiteral("mnuBand40Ch"));
    EXPECT_EQ(savedSettings().CurrentBand, QStringLiteral("40"));
}

TEST_F(LogWindowTest, BandOutsideTheRingIsLeftAloneByTheLabel)
{
    st.CurrentBand = QStringLiteral("2");
    LogWindow& w = start(1);
    QFile::remove(env.workPath(QStringLiteral("QSOpref.txt")));
    QTest::mouseClick(w.Label24, Qt::LeftButton);
    EXPECT_EQ(st.CurrentBand, QStringLiteral("2"));
    EXPECT_EQ(w.Label24->text(), QStringLiteral("160"));
    EXPECT_FALSE(QFile::exists(env.workPath(QStringLiteral("QSOpref.txt"))));

    find(w, "mnuBand6Ch")->trigger(); // a menu choice brings it back
    QTest::mouseClick(w.Label24, Qt::LeftButton);
    EXPECT_EQ(st.CurrentBand, QStringLiteral("160"));
}

TEST_F(LogWindowTest, ModeLabelTogglesCwAndPhoneAndDigitalGoesToCw)
{
    st.CurrentMode = QStringLiteral("DG");
    LogWindow& w = start(1);
    ASSERT_EQ(checkedModeItem(w), QStringLiteral("mnuDigital"));

    const QStringList expected{"CW", "PH", "CW"};
    for (const QString& mode : expected) {
        QTest::mouseClick(w.Label30, Qt::LeftButton);
        EXPECT_EQ(st.CurrentMode, mode);
        EXPECT_EQ(w.Label30->text(), mode);
        EXPECT_EQ(checkedModeItem(w), mode == QLatin1String("CW") ? QStringLiteral("mnu160")
                                                                  : QStringLiteral("mnuSSB"));
        EXPECT_EQ(savedSettings().CurrentMode, mode);
    }
}

TEST_F(LogWindowTest, DigitalLimitsTheOutOfStateReportsToThreeForGood)
{
    LogWindow& w = start(1);
    ASSERT_EQ(w.txtRSTR->typedLimit(), 8);
    find(w, "mnuDigital")->trigger();
    EXPECT_EQ(st.CurrentMode, QStringLiteral("DG"));
    EXPECT_EQ(checkedModeItem(w), QStringLiteral("mnuDigital"));
    EXPECT_EQ(w.txtRSTR->typedLimit(), 3);
    EXPECT_EQ(w.txtRSTS->typedLimit(), 3);
    find(w, "mnu160")->trigger();
    EXPECT_EQ(w.txtRSTR->typedLimit(), 3);

    // The in-state window keeps its limits.
    freshRun();
    LogWindow& in = start(0);
    find(in, "mnuDigital")->trigger();
    EXPECT_EQ(st.CurrentMode, QStringLiteral("DG"));
    EXPECT_EQ(in.txtRSTR->typedLimit(), 6);
}
