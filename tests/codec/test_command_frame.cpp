#include "codec/command_frame.h"

#include <QtTest>

class TestCommandFrame : public QObject {
    Q_OBJECT
private slots:
    void build_data();
    void build();
    void responseCheck_data();
    void responseCheck();
    void envelopeOfEveryPiece_data();
    void envelopeOfEveryPiece();
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

// Every catalogue piece with as many payload bytes as its command carries after the piece. The
// frame's length field and sum are then read back from the built bytes, so a piece whose length
// does not match its payload shows here.
void TestCommandFrame::envelopeOfEveryPiece_data() {
    QTest::addColumn<QByteArray>("piece");
    QTest::addColumn<int>("payloadBytes");
    const std::pair<const char*, int> pieces[] = {
        {Cmd::ConnectPiece, 0},
        {Cmd::StopRecordingPiece, 0},
        {Cmd::RestartRecordingPiece, 6},
        {Cmd::SetAddressPiece, 1},
        {Cmd::SetRecordingParamsPiece, 84},
        {Cmd::SetChannelAlarmPiece, 6},
        {Cmd::SetModelSerialPiece, 20},
        {Cmd::SetPhonesPiece, 34},
        {Cmd::ReadPhonesPiece, 0},
        {Cmd::DownloadStartPiece, 0},
        {Cmd::DownloadPacketPiece, 2},
        {Cmd::FactoryResetPiece, 0},
        {Cmd::SetClockPiece, 6},
        {Cmd::ReadBatteryPiece, 0},
        {Cmd::SetGprsPiece, 45},
        {Cmd::ReadGprsPiece, 0},
        {Cmd::SetSmsTitlePiece, 20},
        {Cmd::ReadSmsTitlePiece, 0},
        {Cmd::SetStartDelayPiece, 2},
        {Cmd::ReadStartDelayPiece, 0},
        {Cmd::SetSmsHostPiece, 30},
        {Cmd::ReadSmsHostPiece, 0},
        {Cmd::StartUpgradePiece, 0},
        {Cmd::SetReceiverFrequencyPiece, 1},
        {Cmd::PairCardsPiece, 0},
        {Cmd::SetReceiverParamsPiece, 23},
        {Cmd::ReadReceiverParamsPiece, 0},
        {Cmd::MonitorOpenPiece, 0},
        {Cmd::MonitorClosePiece, 0},
    };
    for (const auto& [piece, payloadBytes] : pieces)
        QTest::newRow(piece) << QByteArray(piece) << payloadBytes;
}

void TestCommandFrame::envelopeOfEveryPiece() {
    QFETCH(QByteArray, piece);
    QFETCH(int, payloadBytes);
    HexText payload;
    for (int i = 0; i < payloadBytes; ++i)
        payload += " " + QByteArray::number(0x30 + i % 0x40, 16).toUpper();
    const QByteArray bytes = aHexToBytes(buildCommandFrame(7, piece.constData(), payload));
    const int n = int(bytes.size());
    QVERIFY(n >= 7);
    QCOMPARE(quint8(bytes[0]), Cmd::CommandStart);
    QCOMPARE(quint8(bytes[n - 1]), Cmd::CommandEnd);
    QCOMPARE(quint8(bytes[1]), quint8(7));
    // Payload: everything between the length field and the sum.
    QCOMPARE(int(aBufU16(bytes, 3, LowFirst)), (n - 7) + 2);
    QCOMPARE(quint8(bytes[n - 2]), sum8(QByteArrayView(bytes).first(n - 2)));
}

QTEST_APPLESS_MAIN(TestCommandFrame)
#include "test_command_frame.moc"
