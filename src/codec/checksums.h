#pragma once

// The two checksums of the protocol: the 8-bit byte sum of command and response frames and
// the Modbus CRC-16 of transmitter frames, over hex text (for frames being built) and over
// bytes (for received data).

#include "codec/hex_text.h"

HexText aCrc16(const HexText& text); // "LL HH", Modbus CRC-16
HexText aSum8(const HexText& text);  // "SS", byte sum modulo 256

quint16 crc16(QByteArrayView bytes);
quint8 sum8(QByteArrayView bytes);
