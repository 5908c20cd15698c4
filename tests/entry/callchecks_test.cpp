#include "entry/CallChecks.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

TEST(CallChecksTest, DefaultReportFollowsTheMode)
{
    EXPECT_EQ(defaultReport(QStringLiteral("PH")), QStringLiteral("59"));
    EXPECT_EQ(defaultReport(QStringLiteral("ph")), QStringLiteral("59"));
    EXPECT_EQ(defaultReport(QStringLiteral("CW")), QStringLiteral("599"));
    EXPECT_EQ(defaultReport(QStringLiteral("DG")), QStringLiteral("599"));
    EXPECT_EQ(defaultReport(QString()), QStringLiteral("599"));
}

TEST(CallChecksTest, CanadianPrefixGivesTheProvince)
{
    const std::pair<const char*, const char*> cases[] = {
        {"VE3ABC", "ON"}, {"ve3abc", "ON"}, {"VE9XY", "MR"}, {"VE1AA", "MR"},
        {"VE2AA", "QC"},  {"VE4AA", "MB"},  {"VE5AA", "SK"}, {"VE6AA", "AB"},
        {"VE7AA", "BC"},  {"VE8AA", "NT"},  {"VY1AA", "NT"}, {"VO1AA", "NL"},
        {"VO2AA", "NL"},  {"VY2XY", "MR"},  {"VE0AB", ""},   {"VE3", "ON"},
        {"VE", ""},       {"W5ABC", ""},    {"", ""},
    };
    for (const auto& [call, code] : cases) {
        SCOPED_TRACE(call);
        EXPECT_EQ(canadianProvince(QString::fromLatin1(call)), QString::fromLatin1(code));
    }
}

TEST(CallChecksTest, DigitAfterACompleteCallTypesThrough)
{
    struct Case {
        const char* call;
        int caret; // -1: at the end
        int key;
        bool through;
    };
    const Case cases[] = {
        {"W5ABC", -1, '5', true},
        {"K5A", -1, '9', true},    // 3 characters
        {"K5", -1, '5', false},    // 2 characters
        {"W5AB/M", -1, '5', false}, // a character below "0"
        {"W5A BC", -1, '5', false},
        {"W5ABC", 3, '5', false},  // caret inside the call
        {"W5ABC", -1, 'A', false}, // not a digit
        {"W5AB5", -1, '9', false}, // the last digit ends the call
        {"WABC", -1, '5', false},  // no digit
        {"5ABC", -1, '5', false},  // the first character is not counted
        {"/5ABC", -1, '5', true},  // nor scanned for punctuation
        {"DL12AB", -1, '5', true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        const QString call = QString::fromLatin1(c.call);
        const int caret = c.caret < 0 ? static_cast<int>(call.size()) : c.caret;
        EXPECT_EQ(digitTypesThrough(call, caret, c.key), c.through);
    }
}

} // namespace
} // namespace zq
