#include "codec/checksums.h"

#include "codec/hex_digits.h"

using namespace hexdigits;

HexText aCrc16(const HexText& text) {
    quint16 crc = 0xFFFF;
    forEachPair(text, [&](int b) {
        crc ^= quint16(b);
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0xA001) : quint16(crc >> 1);
    });
    return hex2(crc & 0xFF) + ' ' + hex2(crc >> 8);
}

HexText aSum8(const HexText& text) {
    int sum = 0;
    forEachPair(text, [&](int b) { sum = (sum + b) & 0xFF; });
    return hex2(sum);
}

quint16 crc16(QByteArrayView bytes) {
    quint16 crc = 0xFFFF;
    for (char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0xA001) : quint16(crc >> 1);
    }
    return crc;
}

quint8 sum8(QByteArrayView bytes) {
    quint8 sum = 0;
    for (char c : bytes)
        sum = quint8(sum + quint8(c));
    return sum;
}
