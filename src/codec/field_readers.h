#pragma once

// Readers of the fields of received frames. They are bounds-checked: a byte beyond the view
// reads as 0, like the zero-filled receive buffer an instrument's frame lies in.

#include <QByteArrayView>

// Byte order of multi-byte fields.
enum ByteOrder { LowFirst = 0, HighFirst = 1 };

quint32 aBufU32(QByteArrayView s, qsizetype pos, int mode = LowFirst);
quint16 aBufU16(QByteArrayView s, qsizetype pos, int mode = LowFirst);
int aBufS16(QByteArrayView s, qsizetype pos, int mode = LowFirst); // sign-magnitude
quint8 aBufU8(QByteArrayView s, qsizetype pos);
// A clock byte's two hex digits read as a decimal number (0x59 -> 59); -1 when a digit is not decimal.
int bcdValue(quint8 b);
