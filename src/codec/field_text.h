#pragma once

// Texts of fields as operators type and read them: decimal entries, dotted addresses, date and
// clock texts, and scaled values.

#include "core/conversion_error.h"

#include <QDateTime>
#include <QString>

#include <array>

QString aTimeStrip(const QString& text); // drops ' ', '.', '-', ':'
int aDotPos(const QString& text);        // 1-based position of the first '.', 0 when none
QString aPad2(const QString& text);      // "5" -> "05"
std::array<QString, 4> aIpSplit(const QString& dotted);
std::array<int, 6> aDateTimeSplit(const QString& dateTime); // yy, MM, dd, hh, mm, ss

QString aNowText(const QDateTime& now); // "24-03-05   07:08:09"
QString aNowText();                     // from the PC clock

QString aIntToStr0(qint64 v);
QString aIntToStr1(qint64 v); // tenths: -15 -> "-1.5"
QString aIntToStr2(qint64 v); // hundredths: 1234 -> "12.34"

// Reads a decimal integer the way an operator's entry is read: optional blanks in front,
// optional sign, digits, nothing after. Throws ConversionError otherwise.
qint64 parseDecimal(const QString& text);
