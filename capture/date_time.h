#pragma once
#include <cstdint>

#include "platform/text.h"

// A date-time counts days since 30 December 1899 at 0:00 local time; the
// fraction is the time of day. Below zero the integer part (towards zero)
// counts days back and the magnitude of the fraction is the time of day.
using DateTime = double;

struct CivilTime {
    int year;
    int month;   // 1..12
    int day;     // 1..31
    int hour;    // 0..23
    int minute;  // 0..59
    int second;  // 0..59
};

// Days from 30 December 1899 to the given date of the proleptic Gregorian calendar.
std::int64_t DaysSince1899(int year, int month, int day);

// The date-time of a calendar time, whole seconds only.
DateTime DateTimeOf(const CivilTime& t);

// The local time of the system clock, fractions of a second dropped.
DateTime LocalDateTimeNow();

// Calendar words such as 2024年3月5日9时7分3秒, rounded to the nearest second,
// clamped to 1 January 100 .. 31 December 9999; trailing zero fields are left out.
Text FormatDateTime(DateTime value);
