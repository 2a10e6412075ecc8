#pragma once

// Digit helpers shared by the hex text and checksum functions; not for use outside the codec.

#include "codec/hex_text.h"

namespace hexdigits {

inline bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

inline int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return c - 'a' + 10;
}

// Reads one or two digits as a byte; anything else is a conversion error.
inline int pairValue(QByteArrayView pair) {
    int v = 0;
    for (char c : pair) {
        if (!isHexDigit(c))
            throw ConversionError(QString::fromLatin1(pair.data(), pair.size()));
        v = v * 16 + hexValue(c);
    }
    return v;
}

// Calls f with each byte that the stripped text spells, pair by pair from the left;
// a trailing single digit counts as one byte.
template <typename F> void forEachPair(const HexText& text, F f) {
    const HexText s = aHexStrip(text);
    for (qsizetype i = 0; i < s.size(); i += 2)
        f(pairValue(QByteArrayView(s).sliced(i, qMin<qsizetype>(2, s.size() - i))));
}

// Two upper-case digits.
inline HexText hex2(int v) {
    return QByteArray::number(v & 0xFF, 16).toUpper().rightJustified(2, '0');
}

} // namespace hexdigits
