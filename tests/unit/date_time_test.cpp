#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <iomanip>
#include <ostream>

#include "capture/date_time.h"

namespace {

struct DayCase {
    int year, month, day;
    long long days;
};

void PrintTo(const DayCase& c, std::ostream* os) { *os << c.year << '-' << c.month << '-' << c.day; }

class DaysSince1899Test : public testing::TestWithParam<DayCase> {};

TEST_P(DaysSince1899Test, CountsFromThe1899Origin)
{
    const DayCase& c = GetParam();
    EXPECT_EQ(DaysSince1899(c.year, c.month, c.day), c.days);
}

// 1900 is not a leap year (no day 60 is skipped), 2000 is; the origin is day 0.
INSTANTIATE_TEST_SUITE_P(Dates, DaysSince1899Test,
                         testing::Values(DayCase{1899, 12, 30, 0}, DayCase{1899, 12, 29, -1},
                                         DayCase{1900, 1, 1, 2}, DayCase{1900, 2, 28, 60},
                                         DayCase{1900, 3, 1, 61}, DayCase{2000, 2, 29, 36585},
                                         DayCase{2024, 3, 5, 45356}, DayCase{9999, 12, 31, 2958465},
                                         DayCase{100, 1, 1, -657434}));

TEST(DateTimeOf, NineOClockAddsExactlyThreeEighths)
{
    EXPECT_EQ(DateTimeOf({2024, 3, 5, 9, 0, 0}), 45356.375);
}

TEST(LocalDateTimeNow, AgreesWithTheSystemClockInWholeSeconds)
{
    SYSTEMTIME before;
    GetLocalTime(&before);
    const DateTime now = LocalDateTimeNow();
    const DateTime expected =
        DateTimeOf(CivilTime{before.wYear, before.wMonth, before.wDay, before.wHour, before.wMinute, before.wSecond});
    EXPECT_GE(now, expected);
    EXPECT_LT(now, expected + 2.0 / 86400);
    const double seconds = (now - std::floor(now)) * 86400;
    EXPECT_NEAR(seconds, std::round(seconds), 1e-4);  // no fraction of a second
}

struct FormatCase {
    DateTime value;
    const char* text;
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << std::setprecision(17) << c.value; }

DateTime At(int y, int mo, int d, int h, int mi, int s) { return DateTimeOf({y, mo, d, h, mi, s}); }

class FormatDateTimeTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatDateTimeTest, WritesCalendarWords) { EXPECT_EQ(FormatDateTime(GetParam().value), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Examples, FormatDateTimeTest,
    testing::Values(FormatCase{At(2024, 3, 5, 9, 7, 3), "2024年3月5日9时7分3秒"},
                    FormatCase{At(2024, 3, 5, 9, 7, 0), "2024年3月5日9时7分"},
                    FormatCase{At(2024, 3, 5, 9, 0, 0), "2024年3月5日9时"},
                    FormatCase{At(2024, 3, 5, 0, 0, 0), "2024年3月5日"},
                    FormatCase{At(2024, 3, 5, 0, 0, 7), "2024年3月5日0时0分7秒"},
                    FormatCase{At(2024, 3, 5, 0, 5, 0), "2024年3月5日0时5分"},
                    FormatCase{At(2024, 3, 5, 13, 0, 30), "2024年3月5日13时0分30秒"},
                    FormatCase{At(2024, 2, 29, 12, 30, 0), "2024年2月29日12时30分"},
                    FormatCase{At(2023, 12, 31, 23, 59, 59), "2023年12月31日23时59分59秒"},
                    FormatCase{At(2024, 11, 1, 1, 0, 0), "2024年11月1日1时"},
                    FormatCase{At(2024, 3, 5, 23, 59, 59) + 0.5 / 86400, "2024年3月6日"},
                    FormatCase{0.0, "1899年12月30日"},
                    FormatCase{-1.25, "1899年12月29日6时"},
                    FormatCase{At(9999, 12, 31, 12, 0, 0), "9999年12月31日"},
                    FormatCase{-657435.5, "100年1月1日"}));

// Rounding to the nearest second and the two ends of the calendar.
INSTANTIATE_TEST_SUITE_P(
    RoundingAndClamping, FormatDateTimeTest,
    testing::Values(FormatCase{At(2024, 3, 5, 9, 7, 3) + 0.49 / 86400, "2024年3月5日9时7分3秒"},
                    FormatCase{At(2024, 3, 5, 9, 7, 3) + 0.51 / 86400, "2024年3月5日9时7分4秒"},
                    FormatCase{At(2024, 3, 5, 23, 59, 59) + 0.49 / 86400, "2024年3月5日23时59分59秒"},
                    FormatCase{At(2023, 12, 31, 23, 59, 59) + 0.5 / 86400, "2024年1月1日"},
                    FormatCase{2958465.0, "9999年12月31日"},
                    FormatCase{1e12, "9999年12月31日"},
                    FormatCase{-657434.0, "100年1月1日"},
                    FormatCase{-657433.75, "100年1月2日18时"},
                    FormatCase{-1e12, "100年1月1日"},
                    FormatCase{std::nan(""), "100年1月1日"}));

TEST(FormatDateTime, LongestStampIs26Bytes)
{
    EXPECT_EQ(FormatDateTime(At(9999, 12, 30, 23, 59, 59)).size(), 26u);
}

}  // namespace
