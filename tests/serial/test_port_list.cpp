#include "link/port_scan.h"
#include "serial/port_list.h"

#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>

class TestPortList : public QObject {
    Q_OBJECT
private slots:
    void sortedAsTextIgnoringCase_data();
    void sortedAsTextIgnoringCase();
    void failingListerLeavesListAlone();
    void onlyRealDevices();
};

void TestPortList::sortedAsTextIgnoringCase_data() {
    QTest::addColumn<QStringList>("found");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("COM10 before COM2")
        << QStringList{"COM2", "COM10", "com1", "COM3"} << QStringList{"com1", "COM10", "COM2", "COM3"};
    QTest::newRow("Linux names") << QStringList{"ttyUSB1", "ttyS0", "ttyACM0", "ttyUSB0", "ttyusb10"}
                                 << QStringList{"ttyACM0", "ttyS0", "ttyUSB0", "ttyUSB1", "ttyusb10"};
    QTest::newRow("none") << QStringList{} << QStringList{};
}

void TestPortList::sortedAsTextIgnoringCase() {
    QFETCH(QStringList, found);
    QFETCH(QStringList, expected);
    QStringList list{"stale"};
    aComPortsNum(list, [&] { return found; });
    QCOMPARE(list, expected);
}

void TestPortList::failingListerLeavesListAlone() {
    QStringList list{"COM7", "COM1"};
    aComPortsNum(list, []() -> QStringList { throw std::runtime_error("no list"); });
    QCOMPARE(list, (QStringList{"COM7", "COM1"}));

    QVERIFY_THROWS_EXCEPTION(std::runtime_error, serialPortsIn(QStringLiteral("/nonexistent/korvel/tty")));
}

// A tty list laid out as the kernel shows it: a device link for hardware-backed ttys, a UART
// type for 8250 ports (0 = no UART found).
void TestPortList::onlyRealDevices() {
    QTemporaryDir root;
    QVERIFY(root.isValid());
    QDir dir(root.path());
    auto tty = [&](const QString& name, bool device, const char* type) {
        QVERIFY(dir.mkpath(name + (device ? "/device" : "")));
        if (type) {
            QFile f(dir.filePath(name + "/type"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(type);
        }
    };
    tty("tty0", false, nullptr); // virtual console
    tty("console", false, nullptr);
    tty("ttyS0", true, "4\n"); // a 16550A
    tty("ttyS1", true, "0\n"); // placeholder
    tty("ttyS31", true, "0\n");
    tty("ttyUSB0", true, nullptr);
    tty("ttyACM0", true, nullptr);

    QStringList list;
    aComPortsNum(list, [&] { return serialPortsIn(root.path()); });
    QCOMPARE(list, (QStringList{"ttyACM0", "ttyS0", "ttyUSB0"}));
}

QTEST_GUILESS_MAIN(TestPortList)
#include "test_port_list.moc"
