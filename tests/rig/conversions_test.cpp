// Hex, BCD and digit conversions of the rig interface.

#include "rig/RigConversions.h"
#include "support/FakeRadio.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

using test::bytesOf;

TEST(RigConversions, NibblesAndBytesToHex)
{
    EXPECT_EQ(NibbleToHex(0), "0");
    EXPECT_EQ(NibbleToHex(9), "9");
    EXPECT_EQ(NibbleToHex(10), "A");
    EXPECT_EQ(NibbleToHex(15), "F");
    EXPECT_EQ(NibbleToHex(16), "");
    EXPECT_EQ(NibbleToHex(-1), "");

    EXPECT_EQ(BytesToHex(bytesOf({0x0D, 0x0A, 0xFE, 0x00})), "0D0AFE00");
    EXPECT_EQ(BytesToHex(QByteArray()), "");
    EXPECT_EQ(BytesToSpacedHex(bytesOf({0x0D, 0x0A})), "0D 0A "); // the last blank kept
    EXPECT_EQ(BytesToSpacedHex(QByteArray()), "");
}

TEST(RigConversions, HexTextToBytes)
{
    struct Case {
        const char* text;
        bool spaced;
        QByteArray want;
    };
    const Case cases[] = {
        {"FE FE 64 E0 03 FD", true, bytesOf({0xFE, 0xFE, 0x64, 0xE0, 0x03, 0xFD})},
        {"fe,fe,64,e0,03,fd", true, bytesOf({0xFE, 0xFE, 0x64, 0xE0, 0x03, 0xFD})},
        {"FE  FE", true, QByteArray()},           // two blanks: " F" is no pair
        {"00 00 00 00 03", true, bytesOf({0, 0, 0, 0, 3})},
        {"3F 41 0D F", true, bytesOf({0x3F, 0x41, 0x0D, 0x0F})},
        {"ZZ 01", true, QByteArray()},            // no partial result
        {"", true, QByteArray()},
        {"FEFE64E005FD", false, bytesOf({0xFE, 0xFE, 0x64, 0xE0, 0x05, 0xFD})},
        {"0A1F", false, bytesOf({0x0A, 0x1F})},
        {"0A1", false, bytesOf({0x0A, 0x01})},       // odd length: the last digit alone
        {"0G", false, QByteArray()},
    };
    for (const Case& c : cases) {
        const QString t = QString::fromLatin1(c.text);
        EXPECT_EQ(c.spaced ? SpacedHexToBytes(t) : HexToBytes(t), c.want) << c.text;
    }
}

TEST(RigConversions, FrequencyDigitsToMHzText)
{
    EXPECT_EQ(BcdDigitsToMHz("01425000"), "14.25000");
    EXPECT_EQ(BcdDigitsToMHz("0142500082"), "14.25000"); // more digits ignored
    EXPECT_EQ(BcdDigitsToMHz("14425000"), "144.25000");
    EXPECT_EQ(BcdDigitsToMHz("00700000"), "7.00000");
    EXPECT_EQ(BcdDigitsToMHz("00050000"), "0.50000");
    EXPECT_EQ(IcomDigitsToMHz("0014250000"), "14.250000");
    EXPECT_EQ(IcomDigitsToMHz("0000500000"), "0.500000");
    EXPECT_EQ(IcomDigitsToMHz("0010100000"), "10.100000");
    EXPECT_EQ(IcomDigitsToMHz("14250000"), "1425.0000");
    EXPECT_EQ(IcomDigitsToMHz(""), ".");
}

} // namespace
} // namespace zq
