// Arbitrary text through the hex-text conversions and the operator-entry readers; bytes through
// the hex form and back.

#include "codec/checksums.h"
#include "codec/field_readers.h"
#include "codec/field_text.h"
#include "codec/hex_text.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const QByteArray raw(reinterpret_cast<const char*>(data), qsizetype(size));
    // Any bytes survive the trip through their hex text.
    FUZZ_CHECK(aHexToBytes(aBytesToHex(raw)) == raw);
    FUZZ_CHECK(aHexToBytes(aHexStrip(aBytesToHex(raw))) == raw);
    FUZZ_CHECK(aSum8(aBytesToHex(raw)) == QByteArray::number(sum8(raw), 16).toUpper().rightJustified(2, '0'));

    const HexText text = raw;
    aHexToBytes(text);
    aHexStrip(text);
    const QString entry = QString::fromLatin1(raw);
    const auto tolerant = [](auto f) {
        try {
            f();
        } catch (const ConversionError&) {
            // An entry that is not a number is the operator's to fix.
        }
    };
    tolerant([&] { aCrc16(text); });
    tolerant([&] { aSum8(text); });
    tolerant([&] { aHexToDec(text); });
    tolerant([&] { aUnicodeHexToStr(text); });
    tolerant([&] { aDateTimeSplit(entry); });
    tolerant([&] {
        const QByteArray low = aDecToHex16(entry);
        const QByteArray bytes = aHexToBytes(low);
        FUZZ_CHECK(bytes.size() == 2);
        const qint64 v = parseDecimal(entry);
        // Sign-magnitude reads back as it was written; unsigned values above 32767 read as
        // negative magnitudes, which is the field's own rule.
        if (v >= -32767 && v <= 32767)
            FUZZ_CHECK(aBufS16(bytes, 0, LowFirst) == v);
    });
    tolerant([&] {
        const QByteArray one = aDecToHex8(entry);
        FUZZ_CHECK(aHexToBytes(one).size() == 1);
    });
    aIpSplit(entry);
    aTimeStrip(entry);
    aStrToUnicodeHex(entry);
    for (qsizetype p = -2; p < raw.size() + 2; ++p) {
        aBufU32(raw, p, LowFirst);
        aBufU16(raw, p, HighFirst);
        aBufS16(raw, p, LowFirst);
        aBufU8(raw, p);
    }
    return 0;
}
