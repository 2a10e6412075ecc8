#include "link/command_frame.h"

#include <QtTest>

class TestCommandFrame : public QObject {
    Q_OBJECT
private slots:
    void build_data();
    void build();
    void responseCheck_data();
    void responseCheck();
};

void TestCommandFrame::build_data() {
    QTest::addColumn<int>("address");
    QTest::addColumn<QByteArray>("piece");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("connect, address 1")
        << 1 << QByteArray(Cmd::ConnectPiece) << QByteArray() << QByteArray("AA 01 01 02 00 AE cc")
        << QByteArray::fromHex("AA01010200AECC");
    QTest::newRow("connect, general address")
        << 0 << QByteArray(Cmd::ConnectPiece) << QByteArray() << QByteArray("AA 00 01 02 00 AD cc")
        << QByteArray::fromHex("AA00010200ADCC");
    QTest::newRow("address 255, monitor open")
        << 255 << QByteArray(Cmd::MonitorOpenPiece) << QByteArray() << QByteArray("AA FF 91 03 00 01 3E cc")
        << QByteArray::fromHex("AAFF910300013ECC");
    // Lower-case piece and payload written straight after it: the same bytes either way.
    QTest::newRow("set address, payload after blank piece")
        << 1 << QByteArray(Cmd::SetAddressPiece) << QByteArray("05") << QByteArray("AA 01 04 03 00 05 B7 cc")
        << QByteArray::fromHex("AA0104030005B7CC");
    QTest::newRow("download packet, payload glued")
        << 2 << QByteArray(Cmd::DownloadPacketPiece) << QByteArray(" 0A 00")
        << QByteArray("AA 02 12 04 00 0A 00 CC cc") << QByteArray::fromHex("AA021204000A00CCCC");
}

void TestCommandFrame::build() {
    QFETCH(int, address);
    QFETCH(QByteArray, piece);
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, bytes);
    const HexText frame = buildCommandFrame(address, piece.constData(), payload);
    QCOMPARE(frame, text);
    QCOMPARE(aHexToBytes(frame), bytes);
}

void TestCommandFrame::responseCheck_data() {
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<bool>("valid");
    QTest::newRow("minimal") << QByteArray::fromHex("BB01010200BFDD") << true;
    // 0xBB + 0xF3 = 0x1AE: the sum keeps only the low byte.
    QTest::newRow("sum wraps") << QByteArray::fromHex("BB00F3AEDD") << true;
    QTest::newRow("wrong sum") << QByteArray::fromHex("BB01010200C0DD") << false;
    QTest::newRow("wrong start") << QByteArray::fromHex("AA01010200AECC") << false;
    QTest::newRow("no end byte") << QByteArray::fromHex("BB01010200BF") << false;
    QTest::newRow("too short") << QByteArray::fromHex("BBDD") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestCommandFrame::responseCheck() {
    QFETCH(QByteArray, frame);
    QFETCH(bool, valid);
    QCOMPARE(isValidResponseFrame(frame), valid);
}

QTEST_APPLESS_MAIN(TestCommandFrame)
#include "test_command_frame.moc"
