#include "commands/identity_commands.h"

#include "commands/entry_refused.h"

#include <QtTest>

namespace {

QByteArray hex(const char* digits) {
    return QByteArray::fromHex(digits);
}

} // namespace

class TestIdentityCommands : public QObject {
    Q_OBJECT
private slots:
    void modelSerial_data();
    void modelSerial();
    void modelSerialRefused_data();
    void modelSerialRefused();
    void setAddress_data();
    void setAddress();
    void setAddressRefusesNoItem_data();
    void setAddressRefusesNoItem();
    void factoryReset();
    void addressAnswer_data();
    void addressAnswer();
};

void TestIdentityCommands::modelSerial_data() {
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("short texts padded with zeros")
        << QStringLiteral("G95-2") << QStringLiteral("110501001")
        << hex("AA010B1600 4739352D320000000000 31313035303130303100 99CC");
    QTest::newRow("ten bytes each fill the fields")
        << QStringLiteral("ABCDEFGHIJ") << QStringLiteral("温湿度记录")
        << hex("AA010B1600 4142434445464748494A CEC2CAAAB6C8BCC7C2BC 06CC");
    QTest::newRow("both empty") << QString() << QString()
                                << hex("AA010B1600 00000000000000000000 00000000000000000000 CCCC");
}

void TestIdentityCommands::modelSerial() {
    QFETCH(QString, model);
    QFETCH(QString, serial);
    QFETCH(QByteArray, bytes);
    QCOMPARE(aHexToBytes(buildModelSerial(1, {model, serial})).toHex(' '), bytes.toHex(' '));
}

void TestIdentityCommands::modelSerialRefused_data() {
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<int>("field");
    // The model box takes twelve characters; the field holds ten bytes.
    QTest::newRow("model of 11 letters")
        << QStringLiteral("ABCDEFGHIJK") << QString() << int(EntryField::Model);
    QTest::newRow("model of 6 Chinese characters")
        << QStringLiteral("温湿度记录仪") << QString() << int(EntryField::Model);
    QTest::newRow("serial of 6 Chinese characters")
        << QStringLiteral("G95") << QStringLiteral("温湿度记录仪") << int(EntryField::SerialNumber);
}

void TestIdentityCommands::modelSerialRefused() {
    QFETCH(QString, model);
    QFETCH(QString, serial);
    QFETCH(int, field);
    try {
        buildModelSerial(1, {model, serial});
        QFAIL("sent a text that does not fit its field");
    } catch (const EntryRefused& e) {
        QCOMPARE(int(e.field()), field);
        QCOMPARE(e.reason(), EntryRefused::TooLong);
        QCOMPARE(e.limit(), qint64(10));
        QVERIFY(e.message().contains(entryFieldName(e.field())));
        QVERIFY(e.message().contains(QStringLiteral("10")));
    }
}

void TestIdentityCommands::setAddress_data() {
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("newAddress");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("1 to 5") << 1 << 5 << hex("AA0104030005B7CC");
    QTest::newRow("2 to the general address") << 2 << 0 << hex("AA0204030000B3CC");
    QTest::newRow("general address to 255") << 0 << 255 << hex("AA00040300FFB0CC");
}

void TestIdentityCommands::setAddress() {
    QFETCH(int, address);
    QFETCH(int, newAddress);
    QFETCH(QByteArray, bytes);
    QCOMPARE(aHexToBytes(buildSetAddress(address, newAddress)).toHex(' '), bytes.toHex(' '));
}

void TestIdentityCommands::setAddressRefusesNoItem_data() {
    QTest::addColumn<int>("newAddress");
    QTest::newRow("typed text") << -1;
    QTest::newRow("past the list") << 256;
}

void TestIdentityCommands::setAddressRefusesNoItem() {
    QFETCH(int, newAddress);
    try {
        buildSetAddress(1, newAddress);
        QFAIL("moved the instrument to an address nobody chose");
    } catch (const EntryRefused& e) {
        QCOMPARE(e.field(), EntryField::NewAddress);
        QCOMPARE(e.reason(), EntryRefused::NoItem);
    }
}

void TestIdentityCommands::factoryReset() {
    QCOMPARE(aHexToBytes(buildFactoryReset(1)).toHex(' '), hex("AA0114030001C3CC").toHex(' '));
    QCOMPARE(aHexToBytes(buildFactoryReset(3)).toHex(' '), hex("AA0314030001C5CC").toHex(' '));
}

void TestIdentityCommands::addressAnswer_data() {
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("address");
    // The answer names the instrument by the address it now has, not the one that was asked.
    QTest::newRow("answer from address 5") << hex("BB0504030001C8DD") << 5;
    QTest::newRow("answer from the general address") << hex("BB0004030001C3DD") << 0;
    QTest::newRow("cut short") << hex("BB") << 0;
}

void TestIdentityCommands::addressAnswer() {
    QFETCH(QByteArray, frame);
    QFETCH(int, address);
    QCOMPARE(decodeAddressAnswer(frame).address, address);
}

QTEST_APPLESS_MAIN(TestIdentityCommands)
#include "test_identity_commands.moc"
