#include "codec/field_readers.h"

namespace {

quint8 at(QByteArrayView s, qsizetype p) {
    return p >= 0 && p < s.size() ? quint8(s[p]) : 0;
}

} // namespace

quint32 aBufU32(QByteArrayView s, qsizetype p, int mode) {
    const bool lo = mode == LowFirst;
    const quint32 b0 = at(s, lo ? p : p + 3), b1 = at(s, lo ? p + 1 : p + 2);
    const quint32 b2 = at(s, lo ? p + 2 : p + 1), b3 = at(s, lo ? p + 3 : p);
    return b0 | (b1 << 8) | (b2 << 16) | (b3 << 24);
}

quint16 aBufU16(QByteArrayView s, qsizetype p, int mode) {
    const bool lo = mode == LowFirst;
    return quint16(at(s, lo ? p : p + 1) | (at(s, lo ? p + 1 : p) << 8));
}

int aBufS16(QByteArrayView s, qsizetype p, int mode) {
    const bool lo = mode == LowFirst;
    const int low = at(s, lo ? p : p + 1), high = at(s, lo ? p + 1 : p);
    return high > 127 ? -((high - 128) * 256 + low) : high * 256 + low;
}

quint8 aBufU8(QByteArrayView s, qsizetype p) {
    return at(s, p);
}

int bcdValue(quint8 b) {
    const int hi = b >> 4, lo = b & 0xF;
    return hi > 9 || lo > 9 ? -1 : hi * 10 + lo;
}
