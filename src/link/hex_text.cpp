#include "link/hex_text.h"

#include <limits>

namespace {

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return c - 'a' + 10;
}

// Reads one or two digits as a byte; anything else is a conversion error.
int pairValue(QByteArrayView pair) {
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

HexText hex2(int v) {
    return QByteArray::number(v & 0xFF, 16).toUpper().rightJustified(2, '0');
}

quint8 at(QByteArrayView s, qsizetype p) {
    return p >= 0 && p < s.size() ? quint8(s[p]) : 0;
}

} // namespace

HexText aHexStrip(const HexText& text) {
    HexText out;
    out.reserve(text.size());
    for (char c : text)
        if (c != ' ' && c != '.')
            out += c;
    return out;
}

QString aTimeStrip(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (c != u' ' && c != u'.' && c != u'-' && c != u':')
            out += c;
    return out;
}

int aDotPos(const QString& text) {
    return int(text.indexOf(u'.')) + 1;
}

QString aPad2(const QString& text) {
    return text.size() == 1 ? QStringLiteral("0") + text : text;
}

std::array<QString, 4> aIpSplit(const QString& dotted) {
    const qsizetype d1 = dotted.indexOf(u'.');
    const qsizetype d2 = d1 < 0 ? -1 : dotted.indexOf(u'.', d1 + 1);
    const qsizetype dl = dotted.lastIndexOf(u'.');
    std::array<QString, 4> parts;
    if (d1 < 0) {
        parts[0] = dotted;
        return parts;
    }
    parts[0] = dotted.left(d1);
    if (d2 < 0) {
        parts[3] = dotted.mid(d1 + 1);
        return parts;
    }
    parts[1] = dotted.mid(d1 + 1, d2 - d1 - 1);
    parts[2] = dl > d2 ? dotted.mid(d2 + 1, dl - d2 - 1) : QString();
    parts[3] = dotted.mid(dl + 1);
    return parts;
}

qint64 parseDecimal(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == u' ')
        ++i;
    const QString body = text.mid(i);
    bool ok = false;
    qint64 v = 0;
    // toLongLong would accept trailing blanks and other forms; check the shape first.
    qsizetype j = 0;
    if (j < body.size() && (body.at(j) == u'-' || body.at(j) == u'+'))
        ++j;
    bool digits = j < body.size() && body.size() - j <= 18;
    for (qsizetype k = j; digits && k < body.size(); ++k)
        digits = body.at(k) >= u'0' && body.at(k) <= u'9';
    if (digits)
        v = body.toLongLong(&ok, 10);
    if (!ok)
        throw ConversionError(text);
    return v;
}

std::array<int, 6> aDateTimeSplit(const QString& dateTime) {
    std::array<int, 6> out{};
    auto piece = [&](qsizetype from, qsizetype len) -> int {
        if (from < 0)
            from = 0;
        return int(parseDecimal(aTimeStrip(dateTime.mid(from, len))));
    };
    const qsizetype firstDash = dateTime.indexOf(u'-');
    const qsizetype lastDash = dateTime.lastIndexOf(u'-');
    if (firstDash < 0)
        throw ConversionError(dateTime);
    out[0] = piece(firstDash - 2, qMin<qsizetype>(2, firstDash));
    out[1] = piece(lastDash - 2, qMin<qsizetype>(2, lastDash));
    out[2] = piece(lastDash + 1, 2);
    const qsizetype firstColon = dateTime.indexOf(u':');
    if (firstColon >= 0) {
        const qsizetype lastColon = dateTime.lastIndexOf(u':');
        out[3] = piece(firstColon - 2, qMin<qsizetype>(2, firstColon));
        out[4] = piece(lastColon - 2, qMin<qsizetype>(2, lastColon));
        out[5] = piece(lastColon + 1, 2);
    }
    return out;
}

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

QString aNowText(const QDateTime& now) {
    const QDate d = now.date();
    const QTime t = now.time();
    auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return two(d.year() % 100) + u'-' + two(d.month()) + u'-' + two(d.day()) + QStringLiteral("   ") +
           two(t.hour()) + u':' + two(t.minute()) + u':' + two(t.second());
}

QString aNowText() {
    return aNowText(QDateTime::currentDateTime());
}

QString aIntToStr0(qint64 v) {
    return QString::number(v);
}

QString aIntToStr1(qint64 v) {
    const qint64 a = v < 0 ? -v : v;
    return (v < 0 ? QStringLiteral("-") : QString()) + QString::number(a / 10) + u'.' +
           QString::number(a % 10);
}

QString aIntToStr2(qint64 v) {
    const qint64 a = v < 0 ? -v : v;
    QString out = v < 0 ? QStringLiteral("-") : QString();
    out += a < 100 ? QStringLiteral("0") : QString::number(a / 100);
    out += u'.';
    out += a < 10 ? QStringLiteral("0") : QString::number((a / 10) % 10);
    out += QString::number(a % 10);
    return out;
}
