#pragma once

// Instrument clock readings as whole seconds. An instrument's clock knows no time zone, so its
// readings are counted as if they were UTC: seconds since 1970-01-01 00:00:00 of the same
// calendar. The arithmetic is the proleptic Gregorian calendar in plain integers, which keeps a
// hundred thousand record times free of time-zone look-ups.

#include <QtGlobal>

namespace WallClock {

inline constexpr qint64 SecondsPerDay = 86400;
// 9999-12-31 23:59:59: the last time a four-digit year can show.
inline constexpr qint64 Latest = 253402300799;

struct Fields {
    qint64 year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

constexpr bool isLeapYear(qint64 y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

constexpr int daysInMonth(qint64 y, int m) {
    constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeapYear(y) ? 29 : days[m - 1];
}

constexpr bool isValid(qint64 y, int mo, int d, int h, int mi, int s) {
    return y >= 1 && y <= 9999 && mo >= 1 && mo <= 12 && d >= 1 && d <= daysInMonth(y, mo) && h >= 0 &&
           h <= 23 && mi >= 0 && mi <= 59 && s >= 0 && s <= 59;
}

// Days since 1970-01-01 of a valid date.
constexpr qint64 daysFromCivil(qint64 y, int m, int d) {
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const qint64 yoe = y - era * 400;
    const qint64 doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const qint64 doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

constexpr qint64 toSeconds(qint64 y, int mo, int d, int h, int mi, int s) {
    return daysFromCivil(y, mo, d) * SecondsPerDay + h * 3600 + mi * 60 + s;
}

constexpr Fields fromSeconds(qint64 t) {
    qint64 days = t / SecondsPerDay;
    qint64 rest = t % SecondsPerDay;
    if (rest < 0) {
        rest += SecondsPerDay;
        --days;
    }
    const qint64 z = days + 719468;
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const qint64 doe = z - era * 146097;
    const qint64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const qint64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const qint64 mp = (5 * doy + 2) / 153;
    Fields f;
    f.day = int(doy - (153 * mp + 2) / 5 + 1);
    f.month = int(mp < 10 ? mp + 3 : mp - 9);
    f.year = yoe + era * 400 + (f.month <= 2);
    f.hour = int(rest / 3600);
    f.minute = int(rest % 3600 / 60);
    f.second = int(rest % 60);
    return f;
}

} // namespace WallClock
