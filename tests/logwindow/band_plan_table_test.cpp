// The frequency-to-band table and the frequency text of a contact.

#include "logwindow/BandPlanTable.h"

#include <gtest/gtest.h>

using namespace zq;

TEST(BandFrequencyTable, FrequenciesGiveTheirBandCodes)
{
    struct Case {
        float mhz;
        const char* band;
    };
    const Case cases[] = {
        {1.8f, "160"},     {1.7999f, ""},     {2.0f, "160"},    {2.0001f, ""},
        {3.5f, "80"},      {4.0f, "80"},      {7.3f, "40"},     {14.025f, "20"},
        {14.35f, "20"},    {21.45f, "15"},    {28.0f, "10"},    {29.7f, "10"},
        {50.0f, "6"},      {54.0f, "6"},      {146.52f, "2"},   {223.5f, "1.25"},
        {432.1f, "440"},   {903.0f, "902"},   {1296.0f, "1.24"}, {2300.0f, ""},
        {2304.0f, "2.3"},  {3400.0f, "3.3"},  {5760.0f, "5.6"}, {10.12f, "30"},
        {18.1f, "17"},     {24.95f, "12"},    {0.0f, ""},       {-14.0f, ""},
        {10000.0f, ""},    {12.0f, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(bandForFrequency(c.mhz), QString::fromLatin1(c.band)) << c.mhz;
}

TEST(BandFrequencyTable, MicrowaveFrequenciesAreNeverTheTenMetreBand)
{
    for (float mhz : {10000.5f, 10368.0f, 10499.0f}) {
        const QString band = bandForFrequency(mhz);
        EXPECT_FALSE(band.isEmpty()) << mhz;
        EXPECT_EQ(operatingBandIndex(band), -1) << mhz;
    }
}

TEST(BandFrequencyTable, OperatingBandsAreTheSevenWithHandlers)
{
    EXPECT_EQ(operatingBandIndex(QStringLiteral("160")), 0);
    EXPECT_EQ(operatingBandIndex(QStringLiteral("6")), 6);
    EXPECT_EQ(operatingBandIndex(QStringLiteral("30")), -1);
    EXPECT_EQ(operatingBandIndex(QStringLiteral("2")), -1);
    EXPECT_EQ(operatingBandIndex(QString()), -1);
}

TEST(FrequencyText, ThreeDecimalsWithoutLeadingZero)
{
    EXPECT_EQ(formatFrequencyText(14.025f), QStringLiteral("14.025"));
    EXPECT_EQ(formatFrequencyText(7.04f), QStringLiteral("7.040"));
    EXPECT_EQ(formatFrequencyText(0.5f), QStringLiteral(".500"));
    EXPECT_EQ(formatFrequencyText(0.0f), QStringLiteral(".000"));
    EXPECT_EQ(formatFrequencyText(10368.0f), QStringLiteral("10368.000"));
    EXPECT_EQ(formatFrequencyText(3.5004f), QStringLiteral("3.500"));
    EXPECT_EQ(formatFrequencyText(3.5006f), QStringLiteral("3.501"));
}
