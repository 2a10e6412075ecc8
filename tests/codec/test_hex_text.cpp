#include "codec/checksums.h"
#include "codec/field_readers.h"
#include "codec/field_text.h"
#include "codec/hex_text.h"

#include <QtTest>

class TestHexText : public QObject {
    Q_OBJECT
private slots:
    void checksums_data();
    void checksums();
    void checksumFailsOnNonHex();
    void hexToBytes_data();
    void hexToBytes();
    void bytesToHex();
    void numberConversions_data();
    void numberConversions();
    void decimalConversionsFail_data();
    void decimalConversionsFail();
    void fieldReaders();
    void fieldReadersOutsideViewReadZero();
    void textHelpers();
    void dateTimeSplit_data();
    void dateTimeSplit();
    void unicodeHex();
    void nowText();
    void impliedDecimals_data();
    void impliedDecimals();
};

void TestHexText::checksums_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("crc");
    QTest::addColumn<QByteArray>("sum");
    QTest::newRow("modbus read request")
        << QByteArray("01 03 00 01 00 01") << QByteArray("D5 CA") << QByteArray("06");
    QTest::newRow("connect address 1") << QByteArray("AA 01 01 02 00") << QByteArray() << QByteArray("AE");
    QTest::newRow("sum wraps") << QByteArray("FF FF") << QByteArray() << QByteArray("FE");
    QTest::newRow("empty") << QByteArray("") << QByteArray("FF FF") << QByteArray("00");
    QTest::newRow("dots and lower case") << QByteArray("aa.01 01.02 00") << QByteArray() << QByteArray("AE");
    QTest::newRow("odd digit counts as a byte") << QByteArray("10 5") << QByteArray() << QByteArray("15");
}

void TestHexText::checksums() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, crc);
    QFETCH(QByteArray, sum);
    if (!crc.isEmpty())
        QCOMPARE(aCrc16(text), crc);
    QCOMPARE(aSum8(text), sum);
}

void TestHexText::checksumFailsOnNonHex() {
    QVERIFY_THROWS_EXCEPTION(ConversionError, aSum8("AA ZZ"));
    QVERIFY_THROWS_EXCEPTION(ConversionError, aCrc16("0G"));
    QVERIFY_THROWS_EXCEPTION(ConversionError, aHexToDec("1X"));
    try {
        aDecToHex8(QStringLiteral("12a"));
        QFAIL("no exception");
    } catch (const ConversionError& e) {
        QCOMPARE(e.message(), QStringLiteral("“12a”不是有效的整数"));
    }
}

void TestHexText::hexToBytes_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("connect frame") << QByteArray("AA 01 01 02 00 AE cc")
                                   << QByteArray::fromHex("AA01010200AECC");
    QTest::newRow("empty") << QByteArray("") << QByteArray();
    QTest::newRow("trailing blanks") << QByteArray("BB 01   ") << QByteArray::fromHex("BB01");
    QTest::newRow("single digit then blank") << QByteArray("A 1") << QByteArray::fromHex("0A01");
    QTest::newRow("odd run") << QByteArray("AAB") << QByteArray::fromHex("AA0B");
    QTest::newRow("stray characters") << QByteArray("xx12-34!") << QByteArray::fromHex("1234");
    QTest::newRow("mixed case same bytes") << QByteArray(" 0a 08 00") << QByteArray::fromHex("0A0800");
}

void TestHexText::hexToBytes() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(aHexToBytes(text), bytes);
}

void TestHexText::bytesToHex() {
    QCOMPARE(aBytesToHex(QByteArray::fromHex("BB01")), QByteArray("BB 01 "));
    QCOMPARE(aBytesToHex(QByteArray()), QByteArray());
    QCOMPARE(aBytesToHex(QByteArray("\x00\xff", 2)), QByteArray("00 FF "));
}

void TestHexText::numberConversions_data() {
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("hexToDec 01 02") << "aHexToDec"
                                    << "01 02"
                                    << "258";
    QTest::newRow("hexToDec 00") << "aHexToDec"
                                 << "00"
                                 << "0";
    QTest::newRow("hexToDec FF") << "aHexToDec"
                                 << "FF"
                                 << "255";
    QTest::newRow("hexToDec 8 digits") << "aHexToDec"
                                       << "FFFFFFFF"
                                       << "4294967295";
    QTest::newRow("decToHex16 -5") << "aDecToHex16"
                                   << "-5"
                                   << " 05 80";
    QTest::newRow("decToHex16 300") << "aDecToHex16"
                                    << "300"
                                    << " 2C 01";
    QTest::newRow("decToHex16 0") << "aDecToHex16"
                                  << "0"
                                  << " 00 00";
    QTest::newRow("decToHex16 -32767") << "aDecToHex16"
                                       << "-32767"
                                       << " FF FF";
    QTest::newRow("decToHex16 65535") << "aDecToHex16"
                                      << "65535"
                                      << " FF FF";
    QTest::newRow("decToHex8 10") << "aDecToHex8"
                                  << "10"
                                  << " 0A";
    QTest::newRow("decToHex8 255") << "aDecToHex8"
                                   << "255"
                                   << " FF";
    QTest::newRow("swap16") << "aHexSwap16"
                            << "1234"
                            << "3412";
    QTest::newRow("swap32") << "aHexSwap32"
                            << "12345678"
                            << "78563412";
}

void TestHexText::numberConversions() {
    QFETCH(QString, function);
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QString got;
    if (function == "aHexToDec")
        got = aHexToDec(input.toLatin1());
    else if (function == "aDecToHex16")
        got = QString::fromLatin1(aDecToHex16(input));
    else if (function == "aDecToHex8")
        got = QString::fromLatin1(aDecToHex8(input));
    else if (function == "aHexSwap16")
        got = QString::fromLatin1(aHexSwap16(input.toLatin1()));
    else
        got = QString::fromLatin1(aHexSwap32(input.toLatin1()));
    QCOMPARE(got, expected);
}

void TestHexText::decimalConversionsFail_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("fails16");
    QTest::addColumn<bool>("fails8");
    QTest::newRow("letters") << "abc" << true << true;
    QTest::newRow("empty") << "" << true << true;
    QTest::newRow("decimal point") << "1.5" << true << true;
    QTest::newRow("trailing blank") << "12 " << true << true;
    QTest::newRow("leading blank accepted") << " 12" << false << false;
    // Values that would lose bits on the wire are refused rather than truncated.
    QTest::newRow("16-bit too small") << "-32768" << true << true;
    QTest::newRow("16-bit too large") << "65536" << true << true;
    QTest::newRow("8-bit negative") << "-1" << false << true;
    QTest::newRow("8-bit too large") << "256" << false << true;
}

void TestHexText::decimalConversionsFail() {
    QFETCH(QString, input);
    QFETCH(bool, fails16);
    QFETCH(bool, fails8);
    auto throws = [](auto f) {
        try {
            f();
        } catch (const ConversionError&) {
            return true;
        }
        return false;
    };
    QCOMPARE(throws([&] { aDecToHex16(input); }), fails16);
    QCOMPARE(throws([&] { aDecToHex8(input); }), fails8);
}

void TestHexText::fieldReaders() {
    QCOMPARE(aBufS16(QByteArray::fromHex("0580"), 0, LowFirst), -5);
    QCOMPARE(aBufS16(QByteArray::fromHex("8005"), 0, HighFirst), -5);
    QCOMPARE(aBufS16(QByteArray::fromHex("0080"), 0, LowFirst), 0);
    QCOMPARE(aBufS16(QByteArray::fromHex("0500"), 0, LowFirst), 5);
    QCOMPARE(aBufU32(QByteArray::fromHex("10270000"), 0, LowFirst), 10000u);
    QCOMPARE(aBufU32(QByteArray::fromHex("00002710"), 0, HighFirst), 10000u);
    QCOMPARE(aBufU32(QByteArray::fromHex("FFFFFFFF"), 0, LowFirst), 0xFFFFFFFFu);
    QCOMPARE(aBufU16(QByteArray::fromHex("99341200"), 1, LowFirst), quint16(0x1234));
    QCOMPARE(aBufU16(QByteArray::fromHex("1234"), 0, HighFirst), quint16(0x1234));
    QCOMPARE(aBufU8(QByteArray::fromHex("00FE"), 1), quint8(254));
}

void TestHexText::fieldReadersOutsideViewReadZero() {
    const QByteArray backing = QByteArray::fromHex("1122334455");
    const QByteArrayView frame(backing.constData(), 2); // the bytes after it must never be read
    QCOMPARE(aBufU32(frame, 0), 0x2211u);
    QCOMPARE(aBufU16(frame, 1), quint16(0x22));
    QCOMPARE(aBufU8(frame, 2), quint8(0));
    QCOMPARE(aBufS16(frame, 5), 0);
    QCOMPARE(aBufU8(frame, -1), quint8(0));
}

void TestHexText::textHelpers() {
    QCOMPARE(aHexStrip("A. B C"), QByteArray("ABC"));
    QCOMPARE(aTimeStrip("24-03-05   07:08:09"), QStringLiteral("240305070809"));
    QCOMPARE(aDotPos("12.5"), 3);
    QCOMPARE(aDotPos("125"), 0);
    QCOMPARE(aPad2("5"), QStringLiteral("05"));
    QCOMPARE(aPad2(""), QString());
    QCOMPARE(aPad2("123"), QStringLiteral("123"));
    const auto ip = aIpSplit("192.168.1.20");
    QCOMPARE(ip[0], QStringLiteral("192"));
    QCOMPARE(ip[1], QStringLiteral("168"));
    QCOMPARE(ip[2], QStringLiteral("1"));
    QCOMPARE(ip[3], QStringLiteral("20"));
    QCOMPARE(aIntToStr0(0), QStringLiteral("0"));
    QCOMPARE(aIntToStr0(-12), QStringLiteral("-12"));
}

void TestHexText::dateTimeSplit_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("fields");
    QTest::newRow("date and time") << "2024-03-05 07:08:09" << QList<int>{24, 3, 5, 7, 8, 9};
    QTest::newRow("date only") << "2024-03-05" << QList<int>{24, 3, 5, 0, 0, 0};
    QTest::newRow("now text") << "24-12-31   23:59:58" << QList<int>{24, 12, 31, 23, 59, 58};
}

void TestHexText::dateTimeSplit() {
    QFETCH(QString, text);
    QFETCH(QList<int>, fields);
    const auto got = aDateTimeSplit(text);
    QCOMPARE(QList<int>(got.begin(), got.end()), fields);
    QVERIFY_THROWS_EXCEPTION(ConversionError, aDateTimeSplit("20xx-03-05"));
}

void TestHexText::unicodeHex() {
    QCOMPARE(aStrToUnicodeHex(QStringLiteral("温")), QByteArray("6E29"));
    QCOMPARE(aStrToUnicodeHex(QStringLiteral("ab")), QByteArray("00610062"));
    QCOMPARE(aUnicodeHexToStr("6E2900610062"), QStringLiteral("温ab"));
    QCOMPARE(aUnicodeHexToStr(""), QString());
    QVERIFY_THROWS_EXCEPTION(ConversionError, aUnicodeHexToStr("6EZZ"));
}

void TestHexText::nowText() {
    const QDateTime t(QDate(2024, 3, 5), QTime(7, 8, 9));
    QCOMPARE(aNowText(t), QStringLiteral("24-03-05   07:08:09"));
    QCOMPARE(aTimeStrip(aNowText(t)), QStringLiteral("240305070809"));
}

void TestHexText::impliedDecimals_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("one");
    QTest::addColumn<QString>("two");
    QTest::newRow("0") << 0 << "0.0"
                       << "0.00";
    QTest::newRow("-15") << -15 << "-1.5"
                         << "-0.15";
    QTest::newRow("7") << 7 << "0.7"
                       << "0.07";
    QTest::newRow("5") << 5 << "0.5"
                       << "0.05";
    QTest::newRow("-5") << -5 << "-0.5"
                        << "-0.05";
    QTest::newRow("1234") << 1234 << "123.4"
                          << "12.34";
    QTest::newRow("305") << 305 << "30.5"
                         << "3.05";
}

void TestHexText::impliedDecimals() {
    QFETCH(int, value);
    QFETCH(QString, one);
    QFETCH(QString, two);
    QCOMPARE(aIntToStr1(value), one);
    QCOMPARE(aIntToStr2(value), two);
}

QTEST_APPLESS_MAIN(TestHexText)
#include "test_hex_text.moc"
