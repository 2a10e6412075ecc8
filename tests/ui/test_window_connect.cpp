// The window on its real link: the start-up connect against the simulated instrument.

#include "link/command_link.h"
#include "sim/simulator.h"
#include "ui/form1.h"
#include "ui/info_page.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

namespace {

QStringList treeTexts(const TForm1& w) {
    QStringList out;
    for (int i = 1; i <= w.infoPage->nodeCount(); ++i)
        out << w.infoPage->node(i)->text(0);
    return out;
}

} // namespace

class TestWindowConnect : public QObject {
    Q_OBJECT
private slots:
    void startUpConnectFillsTree();
    void noPortLeavesWindowUsable();
    void missingPortIsExplained();
};

void TestWindowConnect::startUpConnectFillsTree() {
    Simulator sim(SimProfile::byName(QStringLiteral("logger")));
    QVERIFY(sim.startPty());
    const QString port = sim.ptyName();
    TForm1::Hooks hooks;
    hooks.portLister = [port] { return QStringList{port}; };
    TForm1 w(hooks);

    QTRY_COMPARE_WITH_TIMEOUT(w.link->state().connected, 1, 10000);
    QCOMPARE(sim.request(1).bytes, QByteArray::fromHex("AA01010200AECC")); // start-up goes to address 1
    QVERIFY(w.Memo1->toPlainText().startsWith(QStringLiteral("连接成功")));
    QCOMPARE(w.Button2->text(), QStringLiteral("连接设备"));
    QCOMPARE(w.PageControl1->currentIndex(), 0);
    const QStringList texts = treeTexts(w);
    QVERIFY2(
        texts.contains(QStringLiteral(
            "通  道    1：【温度<℃>】，量程【-40.0，85.0】，报警下限上限【0.0，30.5】，报警开关【打开】")),
        qPrintable(texts.join(u'\n')));
    QVERIFY2(texts.join(u'\n').contains(QStringLiteral("固件版本：140")), qPrintable(texts.join(u'\n')));

    // Asked on the general address, the instrument reports its own; the selector follows it
    // and the second connect rebuilds the tree rather than adding to it.
    sim.updateState([](SimProfile& p) { p.address = 7; });
    w.ComboBox4->setCurrentIndex(0);
    const int nodes = w.infoPage->nodeCount();
    w.Button2Click();
    QTRY_COMPARE_WITH_TIMEOUT(w.ComboBox4->currentIndex(), 7, 10000);
    QCOMPARE(sim.request(2).bytes, QByteArray::fromHex("AA00010200ADCC"));
    QCOMPARE(w.link->state().connected, 1);
    QCOMPARE(w.infoPage->nodeCount(), nodes);
}

void TestWindowConnect::noPortLeavesWindowUsable() {
    TForm1::Hooks hooks;
    hooks.portLister = [] { return QStringList{}; };
    TForm1 w(hooks);
    QCOMPARE(w.Memo1->toPlainText(), QStringLiteral("未找到串口，请检查串口设备是否妥当"));
    QVERIFY(!w.link->Timer1().isActive());
    QVERIFY(w.Button2->isEnabled());
    QCOMPARE(w.Button2->text(), QStringLiteral("连接设备"));
}

void TestWindowConnect::missingPortIsExplained() {
    TForm1::Hooks hooks;
    hooks.portLister = [] { return QStringList{QStringLiteral("ttyUSB-korvel-missing")}; };
    TForm1 w(hooks);
    w.link->state().responseTimeoutMs = 100;
    QTRY_COMPARE_WITH_TIMEOUT(w.Memo1->toPlainText(), QStringLiteral("连接超时，请重新连接"), 10000);
    QVERIFY(w.statusBar()->currentMessage().contains(QStringLiteral("/dev/ttyUSB-korvel-missing")));
}

QTEST_MAIN(TestWindowConnect)
#include "test_window_connect.moc"
