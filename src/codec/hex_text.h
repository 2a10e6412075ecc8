#pragma once

// Hex text: frames are built, checksummed and stored as text ("AA 01 01 02 00 AE cc")
// and become bytes only when they are written to the port or socket.
//
// Functions that must read a number throw ConversionError when the text is not one.

#include "core/conversion_error.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

using HexText = QByteArray;

HexText aHexStrip(const HexText& text); // drops ' ' and '.'

QByteArray aHexToBytes(const HexText& text);
HexText aBytesToHex(QByteArrayView bytes); // "BB 01 " (each byte followed by a blank)
QString aHexToDec(const HexText& text);
HexText aDecToHex16(const QString& decimal); // " LL HH", 16-bit sign-magnitude
HexText aDecToHex8(const QString& decimal);  // " XX"
HexText aHexSwap16(const HexText& digits);
HexText aHexSwap32(const HexText& digits);
HexText aStrToUnicodeHex(const QString& text);
QString aUnicodeHexToStr(const HexText& digits);
