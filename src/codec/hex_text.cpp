#include "codec/hex_text.h"

#include "codec/field_text.h"
#include "codec/hex_digits.h"

using namespace hexdigits;

HexText aHexStrip(const HexText& text) {
    HexText out;
    out.reserve(text.size());
    for (char c : text)
        if (c != ' ' && c != '.')
            out += c;
    return out;
}

QByteArray aHexToBytes(const HexText& text) {
    QByteArray out;
    out.reserve(text.size() / 3 + 1);
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (true) {
        while (i < n && !isHexDigit(text[i]))
            ++i;
        if (i >= n)
            break;
        if (i + 1 < n && isHexDigit(text[i + 1]))
            out += char(hexValue(text[i]) * 16 + hexValue(text[i + 1]));
        else
            out += char(hexValue(text[i]));
        i += 2;
    }
    return out;
}

HexText aBytesToHex(QByteArrayView bytes) {
    static const char digits[] = "0123456789ABCDEF";
    HexText out;
    out.reserve(bytes.size() * 3);
    for (char c : bytes) {
        const quint8 b = quint8(c);
        out += digits[b >> 4];
        out += digits[b & 0xF];
        out += ' ';
    }
    return out;
}

QString aHexToDec(const HexText& text) {
    const HexText s = aHexStrip(text);
    quint64 v = 0;
    for (char c : s) {
        if (!isHexDigit(c))
            throw ConversionError(QString::fromLatin1(s));
        v = v * 16 + quint64(hexValue(c));
    }
    // More digits than a 64-bit number holds cannot be a field of any frame.
    if (s.size() > 16)
        throw ConversionError(QString::fromLatin1(s));
    return QString::number(v);
}

HexText aDecToHex16(const QString& decimal) {
    qint64 v = parseDecimal(decimal);
    // Sign-magnitude reaches -32767..32767; unsigned fields use 0..65535. Anything else
    // would silently lose bits on the wire, so it is refused like a non-number.
    if (v < -32767 || v > 65535)
        throw ConversionError(decimal);
    if (v < 0)
        v = 0x8000 + (-v);
    return ' ' + hex2(int(v & 0xFF)) + ' ' + hex2(int(v >> 8));
}

HexText aDecToHex8(const QString& decimal) {
    const qint64 v = parseDecimal(decimal);
    if (v < 0 || v > 255)
        throw ConversionError(decimal);
    return ' ' + hex2(int(v));
}

HexText aHexSwap16(const HexText& digits) {
    return digits.mid(2, 2) + digits.mid(0, 2);
}

HexText aHexSwap32(const HexText& digits) {
    return digits.mid(6, 2) + digits.mid(4, 2) + digits.mid(2, 2) + digits.mid(0, 2);
}

HexText aStrToUnicodeHex(const QString& text) {
    HexText out;
    out.reserve(text.size() * 4);
    for (QChar c : text)
        out += QByteArray::number(c.unicode(), 16).toUpper().rightJustified(4, '0');
    return out;
}

QString aUnicodeHexToStr(const HexText& digits) {
    QString out;
    for (qsizetype i = 0; i < digits.size(); i += 4) {
        const QByteArray group = digits.mid(i, 4);
        int v = 0;
        for (char c : group) {
            if (!isHexDigit(c))
                throw ConversionError(QString::fromLatin1(group));
            v = v * 16 + hexValue(c);
        }
        out += QChar(char16_t(v));
    }
    return out;
}
