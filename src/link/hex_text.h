#pragma once

// Hex text: frames are built, checksummed and stored as text ("AA 01 01 02 00 AE cc")
// and become bytes only when they are written to the port or socket.
//
// Functions that must read a number throw ConversionError when the text is not one.
// Field readers are bounds-checked: a byte beyond the view reads as 0, like the
// zero-filled receive buffer an instrument's frame lies in.

#include "core/conversion_error.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>

using HexText = QByteArray;

// Byte order of multi-byte fields.
enum ByteOrder { LowFirst = 0, HighFirst = 1 };

HexText aHexStrip(const HexText& text);  // drops ' ' and '.'
QString aTimeStrip(const QString& text); // drops ' ', '.', '-', ':'
int aDotPos(const QString& text);        // 1-based position of the first '.', 0 when none
QString aPad2(const QString& text);      // "5" -> "05"
std::array<QString, 4> aIpSplit(const QString& dotted);
std::array<int, 6> aDateTimeSplit(const QString& dateTime); // yy, MM, dd, hh, mm, ss

HexText aCrc16(const HexText& text); // "LL HH", Modbus CRC-16
HexText aSum8(const HexText& text);  // "SS", byte sum modulo 256

// The same two checksums over bytes, for received data.
quint16 crc16(QByteArrayView bytes);
quint8 sum8(QByteArrayView bytes);

QByteArray aHexToBytes(const HexText& text);
HexText aBytesToHex(QByteArrayView bytes); // "BB 01 " (each byte followed by a blank)
QString aHexToDec(const HexText& text);
HexText aDecToHex16(const QString& decimal); // " LL HH", 16-bit sign-magnitude
HexText aDecToHex8(const QString& decimal);  // " XX"
HexText aHexSwap16(const HexText& digits);
HexText aHexSwap32(const HexText& digits);
HexText aStrToUnicodeHex(const QString& text);
QString aUnicodeHexToStr(const HexText& digits);

quint32 aBufU32(QByteArrayView s, qsizetype pos, int mode = LowFirst);
quint16 aBufU16(QByteArrayView s, qsizetype pos, int mode = LowFirst);
int aBufS16(QByteArrayView s, qsizetype pos, int mode = LowFirst);
quint8 aBufU8(QByteArrayView s, qsizetype pos);
// A clock byte's two hex digits read as a decimal number (0x59 -> 59); -1 when a digit is not decimal.
int bcdValue(quint8 b);

QString aNowText(const QDateTime& now); // "24-03-05   07:08:09"
QString aNowText();                     // from the PC clock

QString aIntToStr0(qint64 v);
QString aIntToStr1(qint64 v); // tenths: -15 -> "-1.5"
QString aIntToStr2(qint64 v); // hundredths: 1234 -> "12.34"

// Reads a decimal integer the way an operator's entry is read: optional blanks in front,
// optional sign, digits, nothing after. Throws ConversionError otherwise.
qint64 parseDecimal(const QString& text);
