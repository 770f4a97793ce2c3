#include "capture/date_time.h"

#include <windows.h>

#include <cmath>
#include <string>

namespace {

constexpr DateTime kLatest = 2958465.0;    // 31 December 9999, 0:00
constexpr DateTime kEarliest = -657434.0;  // 1 January 100, 0:00
constexpr double kSecondsPerDay = 86400.0;

// Days since 1 January 1970 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

const std::int64_t kEpoch1899 = DaysFromCivil(1899, 12, 30);

}  // namespace

std::int64_t DaysSince1899(int year, int month, int day)
{
    return DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpoch1899;
}

DateTime DateTimeOf(const CivilTime& t)
{
    const int seconds = t.hour * 3600 + t.minute * 60 + t.second;
    return static_cast<double>(DaysSince1899(t.year, t.month, t.day)) + seconds / kSecondsPerDay;
}

DateTime LocalDateTimeNow()
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    return DateTimeOf(CivilTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond});
}

Text FormatDateTime(DateTime value)
{
    // Written so that a NaN takes the lower limit rather than reaching the casts below.
    if (!(value >= kEarliest)) value = kEarliest;
    if (value > kLatest) value = kLatest;

    // Half a second either way rounds to the nearest second: 23:59:59.5 is the
    // next day. A tenth of a millisecond more absorbs the error of a double
    // that cannot hold the half second exactly (its step is up to 40 us in 9999).
    const double halfSecond = 0.5001 / kSecondsPerDay;
    const double v = value > 0 ? value + halfSecond : value - halfSecond;
    const double wholeDays = std::trunc(v);
    const double fraction = std::fabs(v - wholeDays);
    const int secondOfDay = static_cast<int>(fraction * kSecondsPerDay);

    CivilTime t{};
    CivilFromDays(static_cast<std::int64_t>(wholeDays) + kEpoch1899, t.year, t.month, t.day);
    t.hour = secondOfDay / 3600;
    t.minute = secondOfDay / 60 % 60;
    t.second = secondOfDay % 60;

    // std::to_string, not printf: the printf family would add 23 KB to the program.
    using std::to_string;
    Text text = to_string(t.year) + "年" + to_string(t.month) + "月" + to_string(t.day) + "日";
    if (t.second != 0)
        text += to_string(t.hour) + "时" + to_string(t.minute) + "分" + to_string(t.second) + "秒";
    else if (t.minute != 0)
        text += to_string(t.hour) + "时" + to_string(t.minute) + "分";
    else if (t.hour != 0)
        text += to_string(t.hour) + "时";
    return text;
}
