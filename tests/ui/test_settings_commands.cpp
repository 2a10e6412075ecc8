// The settings commands as an operator runs them: the window on its real link against the
// simulated instrument over a pseudo-terminal.

#include "link/command_link.h"
#include "sim/simulator.h"
#include "ui/form1.h"
#include "ui/gprs_page.h"
#include "ui/message_box.h"
#include "ui/recording_bar.h"
#include "ui/settings_page.h"
#include "ui/tcp_terminal.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

namespace {

constexpr int WaitMs = 15000;

// A window whose start-up connect has found the simulated instrument.
struct Bench {
    Simulator sim;
    std::unique_ptr<TForm1> w;
    QStringList statusTexts; // every text the status line showed, in order
    QStringList messages;
    MessageHandler previous;

    explicit Bench(const QString& profile) : sim(SimProfile::byName(profile)) {
        previous = setMessageHandler([this](QWidget*, const QString& text) { messages << text; });
        sim.startPty();
        const QString port = sim.ptyName();
        TForm1::Hooks hooks;
        hooks.portLister = [port] { return QStringList{port}; };
        w = std::make_unique<TForm1>(hooks);
        QObject::connect(w->Memo1, &QPlainTextEdit::textChanged,
                         [this] { statusTexts << w->Memo1->toPlainText(); });
    }
    ~Bench() { setMessageHandler(previous); }

    bool connected() {
        return QTest::qWaitFor([this] { return w->link->state().connected == 1; }, WaitMs);
    }
    // The link has closed the port after the last exchange: nothing more is on its way.
    bool idle() {
        return QTest::qWaitFor(
            [this] { return w->link->state().portOpen == 0 && !w->link->Timer1().isActive(); }, WaitMs);
    }
    QList<int> codes() const {
        QList<int> out;
        for (int i = 1; i <= sim.requestCount(); ++i)
            out << quint8(sim.request(i).bytes.at(2));
        return out;
    }
    QString status() const { return w->Memo1->toPlainText(); }
};

} // namespace

class TestSettingsCommands : public QObject {
    Q_OBJECT
private slots:
    void setAndRestart();
    void gprsModelReadsByItself();
    void failureByteShowsFailure();
    void answersShowTheirTexts();
    void badEntriesSendNothing_data();
    void badEntriesSendNothing();
};

void TestSettingsCommands::setAndRestart() {
    Bench b(QStringLiteral("logger"));
    QVERIFY(b.connected());
    QVERIFY(b.idle());
    SettingsPage& page = *b.w->settingsPage;
    page.ComboBox6->setCurrentIndex(page.ComboBox6->findText(QStringLiteral("10秒")));
    page.ComboBox7->setCurrentIndex(0);
    page.ComboBox8->setCurrentIndex(0);
    b.w->ComboBox4->setCurrentIndex(1);
    const int before = b.sim.requestCount();
    b.statusTexts.clear();
    page.Button12Click();
    QTRY_COMPARE_WITH_TIMEOUT(b.status(), QStringLiteral("重启记录成功..."), WaitMs);
    QVERIFY(b.idle());
    QCOMPARE(b.codes().mid(before), (QList<int>{0x06, 0x03}));
    QCOMPARE(b.sim.request(before + 1).bytes.mid(9, 8), QByteArray::fromHex("0A00000001030101"));
    QCOMPARE(
        b.statusTexts,
        (QStringList{QStringLiteral("正在设置记录参数，请等待..."), QStringLiteral("设备记录参数，设置成功"),
                     QStringLiteral("正在重启中......"), QStringLiteral("重启记录成功...")}));
    QCOMPARE(b.w->Button13->text(), QStringLiteral("重启记录"));
}

void TestSettingsCommands::gprsModelReadsByItself() {
    // A "G" model whose recording has not started: the clock is set and the upload settings are
    // read without the operator, each after the answer before it; the chain then ends cleanly.
    Bench b(QStringLiteral("gprs"));
    QVERIFY(b.connected());
    QTRY_VERIFY_WITH_TIMEOUT(b.codes().size() >= 3, WaitMs);
    QVERIFY(b.idle());
    QCOMPARE(b.codes().mid(0, 3), (QList<int>{0x01, 0x1a, 0x1f}));
    QCOMPARE(b.status(), QStringLiteral("成功读取GPRS参数"));
    QVERIFY(b.statusTexts.join(u'\n').contains(QStringLiteral("同步时间成功...，连接耗时：")));
    const SimGprsSettings held = b.sim.state().gprs;
    GprsPage& page = *b.w->gprsPage;
    QCOMPARE(page.Edit17->text(), QString::number(held.port));
    QCOMPARE(page.terminal->Edit15->text(), QString::number(held.port));
    QCOMPARE(page.terminal->Edit1->text(), QString::number(held.port));
    QCOMPARE(page.Edit18->text(), held.hostName);
    QCOMPARE(page.terminal->Edit28->text(), held.hostName);
    QCOMPARE(b.w->link->state().autoReadChain, 0);

    // A write then a read gives back what was written.
    page.IPEdit3->setText(QStringLiteral("192.168.1.10"));
    page.Edit17->setText(QStringLiteral("9001"));
    page.Edit18->setText(QStringLiteral("  data.example.net "));
    page.RadioButton4->setChecked(true);
    page.Button34Click();
    QTRY_COMPARE_WITH_TIMEOUT(b.status(), QStringLiteral("成功设置GPRS参数"), WaitMs);
    QCOMPARE(page.Edit18->text(), QStringLiteral("data.example.net"));
    QVERIFY(b.idle());
    page.Button35Click();
    QCOMPARE(page.Edit17->text(), QString());
    QTRY_COMPARE_WITH_TIMEOUT(b.status(), QStringLiteral("成功读取GPRS参数"), WaitMs);
    QCOMPARE(page.IPEdit3->text(), QStringLiteral("192.168.1.10"));
    QCOMPARE(page.terminal->IPEdit2->text(), QStringLiteral("192.168.1.10"));
    QCOMPARE(page.Edit17->text(), QStringLiteral("9001"));
    QVERIFY(page.terminal->RadioButton2->isChecked());
}

void TestSettingsCommands::failureByteShowsFailure() {
    Bench b(QStringLiteral("logger"));
    QVERIFY(b.connected());
    QVERIFY(b.idle());
    b.sim.injectFault(*SimFault::fromText(QStringLiteral("fail-result")));
    b.w->recordingBar->SpeedButton1Click();
    QTRY_VERIFY_WITH_TIMEOUT(b.status().startsWith(QStringLiteral("同步时间失败...，连接耗时：")), WaitMs);
    QVERIFY(b.status().endsWith(QStringLiteral("ms")));
}

void TestSettingsCommands::answersShowTheirTexts() {
    Bench b(QStringLiteral("logger"));
    QVERIFY(b.connected());
    QVERIFY(b.idle());
    SettingsPage& page = *b.w->settingsPage;
    page.Button36Click();
    QTRY_COMPARE_WITH_TIMEOUT(b.status(), QStringLiteral("电池电量：80%"), WaitMs);
    QVERIFY(b.idle());
    page.Edit35->setText(QStringLiteral("-5"));
    page.Button66Click();
    QTRY_COMPARE_WITH_TIMEOUT(b.status(), QStringLiteral("成功设置手动启动延时时间"), WaitMs);
    QCOMPARE(b.sim.request(b.sim.requestCount()).bytes.mid(5, 2), QByteArray::fromHex("0580"));
    QVERIFY(b.idle());
    page.Button67Click();
    QCOMPARE(page.Edit35->text(), QString());
    QTRY_COMPARE_WITH_TIMEOUT(b.status(), QStringLiteral("成功读取手动启动延时时间"), WaitMs);
    QCOMPARE(page.Edit35->text(), QStringLiteral("-5"));
    QVERIFY(b.idle());
    b.w->recordingBar->Button14Click();
    QCOMPARE(b.status(), QStringLiteral("Record Stopping..."));
    QTRY_COMPARE_WITH_TIMEOUT(b.status(), QStringLiteral("停止记录成功..."), WaitMs);
    QVERIFY(b.idle());
    page.ComboBox5->setCurrentIndex(5);
    page.Button11Click();
    QTRY_COMPARE_WITH_TIMEOUT(b.status(), QStringLiteral("地址设置成功,地址=5"), WaitMs);
}

void TestSettingsCommands::badEntriesSendNothing_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("message");
    QTest::newRow("delay not a number") << "delay:abc" << QStringLiteral("“abc”不是有效的整数");
    QTest::newRow("delay out of range") << "delay:40000" << QString();
    QTest::newRow("user name of 21 bytes") << "user:abcdefghijklmnopqrstu" << QString();
    QTest::newRow("GPRS port above 65535") << "port:70000" << QStringLiteral("数值输入有误！");
    QTest::newRow("typed start mode") << "start:明天" << QString();
}

void TestSettingsCommands::badEntriesSendNothing() {
    QFETCH(QString, entry);
    QFETCH(QString, message);
    Bench b(QStringLiteral("logger"));
    QVERIFY(b.connected());
    QVERIFY(b.idle());
    const QString field = entry.section(u':', 0, 0), value = entry.section(u':', 1);
    SettingsPage& page = *b.w->settingsPage;
    const int before = b.sim.requestCount();
    const QString statusBefore = b.status();
    if (field == QStringLiteral("delay")) {
        page.Edit35->setText(value);
        page.Button66Click();
    } else if (field == QStringLiteral("user")) {
        page.Edit8->setMaxLength(100); // the box stops typing at 20 characters; pasted text can still be long
        page.Edit8->setText(value);
        page.Button12Click();
    } else if (field == QStringLiteral("port")) {
        b.w->gprsPage->Edit17->setText(value);
        b.w->gprsPage->Button34Click();
    } else if (field == QStringLiteral("start")) {
        page.ComboBox7->setEditText(value);
        page.Button12Click();
    }
    QCOMPARE(b.messages.size(), 1);
    if (!message.isEmpty())
        QCOMPARE(b.messages.first(), message);
    QCOMPARE(b.status(), statusBefore);
    QVERIFY(!b.w->link->Timer1().isActive());
    QCOMPARE(b.sim.requestCount(), before);
}

QTEST_MAIN(TestSettingsCommands)
#include "test_settings_commands.moc"
