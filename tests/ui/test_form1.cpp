#include "../support/connect_frame.h"
#include "ui/form1.h"

#include "device/device_status.h"
#include "history_view/history_grid.h"
#include "history_view/history_plot.h"
#include "ui/gbk_length_validator.h"
#include "ui/info_page.h"
#include "ui/login_forms.h"
#include "ui/settings_page.h"

#include <QtTest>
#include <QtWidgets>

namespace {

// A connect response laid out byte by byte; the tests poke single fields into it.

// Everything a start-up fact can say about a control, as one comparable text.
QStringList facts(QWidget* w) {
    QStringList f;
    f << (w->isEnabled() ? "enabled" : "disabled");
    if (auto* c = qobject_cast<QAbstractButton*>(w))
        f << (c->isChecked() ? "checked" : "unchecked");
    if (w->palette().color(QPalette::WindowText) == QColor(Qt::blue) ||
        w->palette().color(QPalette::Text) == QColor(Qt::blue))
        f << "blue";
    if (w->palette().color(QPalette::WindowText) == QColor(192, 192, 192))
        f << "silver";
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        f << (c->isEditable() ? "typed" : "list") << QString("items=%1").arg(c->count())
          << QString("index=%1").arg(c->currentIndex());
        if (c->focusPolicy() == Qt::NoFocus)
            f << "notab";
    }
    QLineEdit* edit = qobject_cast<QLineEdit*>(w);
    if (auto* c = qobject_cast<QComboBox*>(w))
        edit = c->lineEdit();
    if (edit)
        if (auto* v = qobject_cast<const GbkLengthValidator*>(edit->validator()))
            f << QString("bytes=%1").arg(v->maxBytes());
    if (auto* m = qobject_cast<QPlainTextEdit*>(w)) {
        if (m->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
            f << "scroll";
        if (m->font().family() == QStringLiteral("宋体") && m->font().pointSize() == 10)
            f << "font";
    }
    if (auto* d = qobject_cast<QDateTimeEdit*>(w))
        f << "format=" + d->displayFormat();
    return f;
}

QString textOf(QWidget* w) {
    if (auto* x = qobject_cast<QLabel*>(w))
        return x->text();
    if (auto* x = qobject_cast<QAbstractButton*>(w))
        return x->text();
    if (auto* x = qobject_cast<QGroupBox*>(w))
        return x->title();
    if (auto* x = qobject_cast<QLineEdit*>(w))
        return x->text();
    if (auto* x = qobject_cast<QPlainTextEdit*>(w))
        return x->toPlainText();
    if (auto* x = qobject_cast<QComboBox*>(w))
        return x->currentText();
    if (auto* x = qobject_cast<QDateTimeEdit*>(w))
        return x->text();
    return {};
}

// Types text the way an input method delivers it: one key event per character.
void typeText(QWidget* w, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
    }
}

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void startState_data();
    void startState();
    void frame();
    void startupEndsWithOneConnect();
    void gbkLimits();
    void addressTypedTextKeepsSelection();
    void informationView();
    void linkHost();

private:
    void makeForm();
    template <class T = QWidget> T* find(const char* name) {
        T* w = form->findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qWarning("no control %s", name);
        return w;
    }
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TForm1> pristine; // as the start-up left it; never changed by a test
    int connects = 0;
};

void TestForm1::initTestCase() {
    // The state the start-up leaves just before its connect runs.
    pristine = std::make_unique<TForm1>(TForm1::Hooks{[] {}, {}, {}, {}});
}

void TestForm1::cleanupTestCase() {
    pristine.reset();
}

void TestForm1::makeForm() {
    connects = 0;
    form = std::make_unique<TForm1>(TForm1::Hooks{[this] { ++connects; }, {}, {}, {}});
}

void TestForm1::cleanup() {
    form.reset();
}

void TestForm1::startState_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected"); // facts that must hold
    auto row = [](const char* name, const QString& text, const QStringList& f = {}) {
        QTest::newRow(name) << QString::fromLatin1(name) << text << f;
    };
    // top bar
    row("Memo1", "请连接设备", {"blue", "scroll", "font"});
    row("CheckBox4", "固定串口   ", {"unchecked"});
    row("ComboBox3", "", {"items=0", "notab"});
    row("ComboBox4", "地址1", {"typed", "items=256", "index=1"});
    row("Button2", "  连接设备  ");
    row("Button16", "下载数据");
    row("Button13", "重启记录");
    row("Button14", "停止记录");
    row("SpeedButton1", "同步时钟");
    // 参数设置
    row("GroupBox8", "记录参数");
    row("Label1", "用 户 名  ");
    row("Edit8", "", {"bytes=20"});
    row("Label10", "标    题  ");
    row("Edit9", "温湿度记录仪", {"bytes=20"});
    row("Label11", "记录间隔  ");
    row("ComboBox6", "10秒", {"typed", "items=20", "index=2"});
    row("Label12", "启动方式  ");
    row("ComboBox7", "立即启动", {"typed", "items=3", "index=0"});
    row("Label13", "停止方式  ");
    row("ComboBox8", "先进先出", {"typed", "items=4", "index=0"});
    row("Label15", "定时启动  ");
    row("DateTimePicker1", QDate::currentDate().toString("yyyy-MM-dd"), {"format=yyyy-MM-dd"});
    row("DateTimePicker2", "00:00:00", {"format=HH:mm:ss"});
    row("Label16", "定时停止  ");
    row("DateTimePicker4", "00:00:00", {"format=HH:mm:ss"});
    row("Label22", "定时模式,电脑时间格式须设成xx-xx-xx              ", {"blue"});
    row("Button12", "确定并重启    ");
    row("GroupBox9", "报警参数");
    row("Label17", "通道选择  ");
    row("ComboBox9", "通道1", {"typed", "items=8", "index=0"});
    row("Label20", "报警开关  ");
    row("ComboBox10", "报警关闭", {"typed", "items=2", "index=0"});
    row("Label19", "报警下限  ");
    row("Edit10", "");
    row("Label18", "报警上限  ");
    row("Edit11", "");
    row("Button15", "确定");
    row("GroupBox7", "地址");
    row("ComboBox5", "地址1", {"typed", "items=256", "index=1"});
    row("Button11", "确定  ");
    row("Button36", "读电池电量  ");
    row("Button20", "恢复出厂设置", {"disabled"});
    row("GroupBox2", "识别号", {"disabled", "silver"});
    row("Label2", "型    号  ", {"disabled"});
    row("ComboBox2", "KV20-2TH", {"disabled", "typed", "items=29", "index=7", "bytes=12"});
    row("Label3", "SN  ", {"disabled"});
    row("Edit3", "110501001", {"disabled", "bytes=10"});
    row("Button6", "确定    ", {"disabled"});
    row("GroupBox25", "延时时间");
    row("Edit35", "");
    row("Label71", "秒     ");
    row("Button67", "读取");
    row("Button66", "确定");
    // 短信操作
    row("GroupBox3", "短信参数（针对短信或GPRS设备）");
    row("Label4", "手机号码1    ");
    row("Edit2", "", {"bytes=11"});
    row("Label5", "手机号码2    ");
    row("Edit4", "", {"bytes=11"});
    row("Label6", "手机号码3    ");
    row("Edit5", "", {"bytes=11"});
    row("Button7", "读取 ");
    row("Button8", "确定 ");
    row("Label53", "短信标题【<=10 字、固件版本>=9.0】         ");
    row("Edit21", "");
    row("Button58", "  读取  ");
    row("Button57", "确定   ");
    row("GroupBox11", "短信主机");
    row("Label26", "从机数量     ");
    row("Label27", "起始地址  ");
    row("Label29", "报警间隔      ");
    row("Label73", "分钟    ");
    row("Label72", "等待时间  ");
    row("Label74", "分钟     ");
    row("Button25", "读取");
    row("Button26", "确定");
    row("GroupBox12", "串口监测");
    row("Memo2", "", {"blue", "scroll", "font"});
    row("Button22", "打开监测");
    row("Button23", "关闭监测");
    row("Button24", "清空");
    row("CheckBox7", "hex   ", {"unchecked"});
    row("GroupBox21", "短信声光测试（只针对短信声光报警器）");
    row("Memo7", "短信内容，不能大于70个字", {"scroll"});
    row("Label48", "手机号码       ");
    row("Edit20", "");
    row("Button54", "打开声光");
    row("Button55", "关闭声光");
    row("Button56", "发送短信 ");
    row("Button71", "清空");
    row("Label49", "测试需先打开监测，发送间隔需>10秒          ", {"blue"});
    // GPRS网络
    row("CheckBox3", "TCP/IP通讯         ", {"unchecked"});
    row("CheckBox5", "服务器模式", {"unchecked"});
    row("Label51", "监听关闭    ", {"blue"});
    row("Label31", "状态：已断开     ", {"blue"});
    row("GroupBox13", "服务器");
    row("Label35", "本机 IP   ");
    row("Label14", "端口   ");
    row("Edit1", "8001");
    row("Button33", "打开监听");
    row("Button32", "发送");
    row("Button43", "清空");
    row("CheckBox2", "hex", {"checked"});
    row("Memo3", "01 03 00 01 00 01 D5 CA", {"scroll"});
    row("Memo5", "", {"scroll"});
    row("GroupBox19", "客户端");
    row("RadioButton1", "服务器 IP   ", {"checked"});
    row("RadioButton2", "服务器域名  ", {"unchecked"});
    row("Edit28", "data.korvel-iot.com");
    row("Label25", "解析结果  ");
    row("IPEdit4", "0.0.0.0");
    row("Label30", "端口  ");
    row("Edit15", "8001");
    row("Button42", "连接");
    row("Button45", "断开");
    row("Button41", "发送");
    row("Button44", "清空");
    row("CheckBox1", "hex", {"checked"});
    row("CheckBox6", "hex       ", {"checked"});
    row("Memo8", "01 03 00 01 00 01 D5 CA", {"scroll"});
    row("Memo6", "", {"scroll"});
    row("GroupBox14", "GPRS仪器参数");
    row("RadioButton3", "发送到 IP 地址        ", {"checked"});
    row("IPEdit3", "0.0.0.0");
    row("RadioButton4", "发送到域名地址      ", {"unchecked"});
    row("Edit18", "");
    row("Label34", "  端       口     ");
    row("Edit17", "8001");
    row("Label36", "记录间隔    ");
    row("ComboBox13", "10秒", {"list", "items=21", "index=1"});
    row("Label76", "上传间隔    ");
    row("ComboBox12", "", {"list", "items=10", "index=9"});
    row("Label59", "电源模式  ");
    row("ComboBox17", "正常模式", {"typed", "items=3", "index=0"});
    row("Label64", "打印条数      ");
    row("ComboBox20", "100", {"typed", "items=8", "index=0"});
    row("Button35", "读取");
    row("Button34", "确定");
    // 变送器
    row("GroupBox15", "变送器记录参数");
    row("Button46", "读取记录参数  ");
    row("Label33", "记录条数              ");
    row("Button50", "同步时间");
    row("Button49", "重启记录");
    row("Label38", "记录间隔  ");
    row("ComboBox14", "", {"list", "items=20", "index=19"});
    row("Button48", "确定");
    row("Label37", "记录容量  ");
    row("Edit14", "");
    row("Button47", "确定");
    row("Label52", "设置间隔和容量会重启记录            ", {"blue"});
    row("ComboBox16", "通道1", {"typed", "items=8", "index=0"});
    row("RadioButton5", "打开");
    row("RadioButton6", "关闭   ");
    row("Label46", "报警下限   ");
    row("Label47", "报警上限   ");
    row("Button53", "读取");
    row("Button52", "确定");
    row("Label75", "短信标题【<=10 字、固件版本>=9.0】         ");
    row("Edit40", "");
    row("Button27", "读取");
    row("Button68", "确定 ");
    row("GroupBox20", "实时数据");
    row("Button51", "读取实时数据");
    row("Label39", "实时数据区    ");
    // 接收机
    row("GroupBox27", "接收机");
    row("Label81", "记录容量       ");
    row("Label79", "卡片数量           ");
    row("Edit31", "");
    row("Label80", "记录间隔         ");
    row("ComboBox21", "", {"list", "items=15", "index=14"});
    row("Label82", "超时时间        ");
    row("ComboBox22", "", {"list", "items=11", "index=10"});
    row("Label83", "注意：设置后，记录自动重启。                   ");
    row("Button62", "读取");
    row("Button61", "确定");
    row("ComboBox11", "", {"list", "items=9", "index=8"});
    row("Button74", "确定");
    row("Button73", "配对");
    row("Label62", "卡片进入HHHH后，点配对          ", {"blue"});
    // 固件升级
    row("GroupBox26", "固件升级");
    row("Label50", "注意：设备固件版本需带【S】           ");
    row("Edit41", "");
    row("Button70", "选择固件");
    row("Button69", "开始 ");
}

void TestForm1::startState() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QWidget* w = pristine->findChild<QWidget*>(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(textOf(w), text);
    const QStringList actual = facts(w);
    for (const QString& f : expected)
        QVERIFY2(actual.contains(f), qPrintable(name + ": " + f + " not in " + actual.join(',')));
    if (!expected.contains("disabled"))
        QVERIFY2(actual.contains("enabled") || name.startsWith("DateTimePicker"), qPrintable(name));
}

void TestForm1::frame() {
    makeForm();
    QCOMPARE(form->windowTitle(), QStringLiteral(" 管理主机   安装测试工具  KorvelVodor  5.7  "));
    QCOMPARE(form->size(), QSize(971, 686));

    auto* pages = find<QTabWidget>("PageControl1");
    const QStringList names{"TabSheet1", "TabSheet5", "TabSheet6", "TabSheet3", "TabSheet4",
                            "TabSheet8", "TabSheet9", "TabSheet7", "TabSheet11"};
    const QStringList captions{"信息栏",   "历史数据", "历史曲线", "参数设置", "短信操作",
                               "GPRS网络", "变送器",   "接收机",   "固件升级"};
    QCOMPARE(pages->count(), names.size());
    for (int i = 0; i < pages->count(); ++i) {
        QCOMPARE(pages->widget(i)->objectName(), names[i]);
        QCOMPARE(pages->tabText(i), captions[i]);
    }
    QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("TabSheet6"));

    // Menu captions and order.
    QCOMPARE(find<QMenu>("File1")->title(), QStringLiteral("选项"));
    QCOMPARE(find<QMenu>("help1")->title(), QStringLiteral("帮助"));
    const QStringList fileItems{"登录", "保存历史数据(csv文件)", "保存历史数据(pdf文件)"};
    const QStringList helpItems{"超时时间", "帮助"};
    QStringList seen;
    for (QAction* a : find<QMenu>("File1")->actions())
        seen << a->text();
    QCOMPARE(seen, fileItems);
    seen.clear();
    for (QAction* a : find<QMenu>("help1")->actions())
        seen << a->text();
    QCOMPARE(seen, helpItems);
    QCOMPARE(find<QMenu>("File1")->actions().first()->objectName(), QStringLiteral("N2"));

    // Progress bars: exchange at 0, long work full, both out of the skin.
    auto* p1 = find<QProgressBar>("ProgressBar1");
    auto* p2 = find<QProgressBar>("ProgressBar2");
    QCOMPARE(p1->value(), 0);
    QCOMPARE(p2->value(), p2->maximum());
    QCOMPARE(p1->property("tag").toInt(), 99);
    QCOMPARE(p2->property("tag").toInt(), 99);

    // Table and tree in their start-up shape.
    auto* grid = find<HistoryGrid>("StringGrid2");
    QCOMPARE(grid->model()->rowCount(), 2);
    QCOMPARE(grid->model()->columnCount(), 10);
    QCOMPARE(grid->columnWidth(0), 35);
    QCOMPARE(grid->columnWidth(1), 120);
    QCOMPARE(grid->columnWidth(5), 90);
    QCOMPARE(grid->rowHeight(1), 16);
    QCOMPARE(form->infoPage->nodeCount(), 17);
    QCOMPARE(find<HistoryPlot>("Plot1")->seriesCount(), 24);

    // The frame grows with the window.
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QCOMPARE(form->size(), QSize(971, 686)); // no page asks for more room than that
    const QSize treeBefore = find("TreeView1")->size(), gridBefore = grid->size(),
                plotBefore = find("Plot1")->size();
    const QSize pagesBefore = pages->size();
    form->resize(1300, 900);
    QTRY_VERIFY(pages->width() > pagesBefore.width() && pages->height() > pagesBefore.height());
    pages->setCurrentIndex(0);
    QTRY_VERIFY(find("TreeView1")->width() > treeBefore.width() || !treeBefore.isValid());
    pages->setCurrentIndex(1);
    QTRY_VERIFY(grid->height() > gridBefore.height() || !gridBefore.isValid());
    pages->setCurrentIndex(2);
    QTRY_VERIFY(find("Plot1")->width() > plotBefore.width());
}

void TestForm1::startupEndsWithOneConnect() {
    makeForm();
    QCOMPARE(connects, 1); // the fixture's window connected once while it was created

    // A second window records what it looks like at the moment its start-up connects:
    // the connect comes last, after every fill.
    struct Seen {
        int connects = 0, timeout = -1;
        bool linkReset = false, locked = false;
        QString memo, page, grid;
        int address = -1;
    } seen;
    TForm1* first = form.get();
    auto creating = [first]() -> TForm1* {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<TForm1*>(w); f && f != first)
                return f;
        return nullptr;
    };
    TForm1 second(TForm1::Hooks{[&] {
                                    ++seen.connects;
                                    TForm1* w = creating();
                                    QVERIFY(w);
                                    seen.memo = w->findChild<QPlainTextEdit*>("Memo1")->toPlainText();
                                    seen.page = w->PageControl1->currentWidget()->objectName();
                                    seen.locked = !w->findChild<QPushButton*>("Button6")->isEnabled();
                                    seen.address = w->addressIndex();
                                    seen.grid = QString::number(
                                        w->findChild<QTableView*>("StringGrid2")->model()->columnCount());
                                },
                                [&](int ms) { seen.timeout = ms; },
                                [&] { seen.linkReset = true; },
                                {}});
    QCOMPARE(seen.connects, 1);
    QCOMPARE(seen.timeout, 4096);
    QVERIFY(seen.linkReset);
    QCOMPARE(seen.memo, QStringLiteral("请连接设备"));
    QCOMPARE(seen.page, QStringLiteral("TabSheet6"));
    QVERIFY(seen.locked);
    QCOMPARE(seen.address, 1); // commands go to address 1 before any answer
    QCOMPARE(seen.grid, QStringLiteral("10"));
    QCOMPARE(second.deviceStatus().featureFlags, 0);
    QCOMPARE(second.deviceStatus().featureFlags2, 0);
    QVERIFY(second.form2() && !second.form2()->isVisible());
}

void TestForm1::gbkLimits() {
    makeForm();
    form->show();
    auto* edit8 = find<QLineEdit>("Edit8");
    edit8->setFocus();
    typeText(edit8, QStringLiteral("温湿度记录仪温湿度记录仪")); // 12 characters, 24 bytes
    QCOMPARE(edit8->text(), QStringLiteral("温湿度记录仪温湿度记"));
    form->form3()->loginTrue(); // the serial number box is locked until a login
    auto* edit3 = find<QLineEdit>("Edit3");
    edit3->clear();
    typeText(edit3, QStringLiteral("序号AB序号CD"));
    QCOMPARE(edit3->text(), QStringLiteral("序号AB序号"));
    QLineEdit* model = find<QComboBox>("ComboBox2")->lineEdit();
    model->clear();
    typeText(model, QStringLiteral("型号型号型号型号"));
    QCOMPARE(model->text(), QStringLiteral("型号型号型号"));
}

void TestForm1::addressTypedTextKeepsSelection() {
    makeForm();
    for (const char* name : {"ComboBox4", "ComboBox5"}) {
        auto* box = find<QComboBox>(name);
        box->setCurrentIndex(3);
        box->lineEdit()->setText("nonsense");
        emit box->lineEdit()->editingFinished();
        QCOMPARE(box->currentIndex(), 3);
        QCOMPARE(box->currentText(), QStringLiteral("地址3"));
        box->lineEdit()->setText("地址200");
        emit box->lineEdit()->editingFinished();
        QCOMPARE(box->currentIndex(), 200);
        QCOMPARE(box->count(), 256);
    }
    QCOMPARE(form->addressIndex(), 200);
}

void TestForm1::informationView() {
    makeForm();
    ConnectFrame f(2);
    f.u8(1, 7);
    f.u32(5, 1234);
    f.u8(14, 0x01);
    f.bytes(16, QByteArray::fromHex("240305070809"));
    f.u32(32, 600);
    f.u8(36, 0x02); // timed start
    f.u8(37, 0x02); // timed stop
    f.bytes(40, "USER");
    f.bytes(60, "\xb2\xe2\xca\xd4");
    f.bytes(80, "KV20-TH");
    f.bytes(90, "SN0001");
    f.bytes(100, QByteArray::fromHex("241231235958"));
    f.bytes(106, QByteArray::fromHex("250102030405"));
    f.u32(112, 10000);
    f.u8(117, 0x8C);
    f.u8(121, 0x01);
    f.u8(123, 0x01);
    f.u8(125, 0x89);
    f.u8(126, 3);
    f.u8(127, 0x01);
    f.s16(129, 0);
    f.s16(131, 305);
    f.u8(133, 1);
    f.s16(134, -400);
    f.s16(136, 850);
    f.u8(138, 1);
    f.u8(139, 1);
    f.u8(140, 2);
    f.u8(150, 2);
    f.u8(151, 2);
    f.u8(152, 2);
    form->deviceStatus() = aLogStateAnalyze(f.b, DeviceStatus{}).status;
    form->aLogStateDisplay(125);

    InfoPage* info = form->infoPage;
    QCOMPARE(info->nodeCount(), 17 + 3);
    const std::pair<int, QString> nodes[] = {
        {1, "设备参数"},
        {2, "地        址：7"},
        {3, "用  户  名：USER"},
        {4, "标        题：测试"},
        {5, "型        号：KV20-TH"},
        {6, "S    N   号：SN0001"},
        {7, "固件版本：140.S2B.P3GK"},
        {9, "总  容  量：10000【总耗时：69天10小时40分钟】"},
        {10, "记录次数：1234【12.34%，剩余耗时：60天21小时】"},
        {11, "记录间隔：10分钟"},
        {12, "启动时间：2024-03-05 07:08:09"},
        {13, "启动方式：定时启动"},
        {14, "停止方式：定时停止"},
        {15, "工作状态：正在记录"},
        {16, "电池状态：电量正常"},
        {17, "通道参数"},
        {18, "通  道  数：2"},
        {19, "通  道    1：【温度<℃>】，量程【-40.0，85.0】，报警下限上限【0.0，30.5】，报警开关【打开】"},
        {20, "通  道    2：【湿度<%RH>】，量程【0.0，0.0】，报警下限上限【0.0，0.0】，报警开关【关闭】"},
    };
    for (const auto& [n, text] : nodes)
        QCOMPARE(info->node(n)->text(0), text);
    QCOMPARE(info->node(18)->parent(), info->node(17));
    QCOMPARE(info->node(20)->parent(), info->node(17));
    QCOMPARE(info->node(9)->parent(), info->node(8));
    QVERIFY(info->node(17)->isExpanded() && info->node(8)->isExpanded() && info->node(1)->isExpanded());
    QVERIFY(!info->node(19)->icon(0).pixmap(16, 16, QIcon::Selected).isNull());

    QCOMPARE(find<QComboBox>("ComboBox4")->currentIndex(), 7);
    QCOMPARE(form->addressIndex(), 7);
    QCOMPARE(find<QPlainTextEdit>("Memo1")->toPlainText(),
             QStringLiteral("连接成功，地址=7，连接耗时：125ms"));
    QCOMPARE(find<QLineEdit>("Edit8")->text(), QStringLiteral("USER"));
    QCOMPARE(find<QLineEdit>("Edit9")->text(), QStringLiteral("测试"));
    QCOMPARE(find<QComboBox>("ComboBox2")->currentText(), QStringLiteral("KV20-TH"));
    QCOMPARE(find<QLineEdit>("Edit3")->text(), QStringLiteral("SN0001"));
    QCOMPARE(find<QComboBox>("ComboBox6")->currentIndex(), 7);
    QCOMPARE(find<QComboBox>("ComboBox7")->currentIndex(), 1);
    QCOMPARE(find<QComboBox>("ComboBox8")->currentIndex(), 3);
    for (const char* picker : {"DateTimePicker1", "DateTimePicker2", "DateTimePicker3", "DateTimePicker4"})
        QVERIFY2(find(picker)->isEnabled(), picker);
    QCOMPARE(find<QDateEdit>("DateTimePicker1")->date(), QDate(2024, 12, 31));
    QCOMPARE(find<QTimeEdit>("DateTimePicker2")->time(), QTime(23, 59, 58));
    QCOMPARE(find<QDateEdit>("DateTimePicker3")->date(), QDate(2025, 1, 2));
    QCOMPARE(find<QTimeEdit>("DateTimePicker4")->time(), QTime(3, 4, 5));
    QCOMPARE(find<QLabel>("Label50")->text(),
             QStringLiteral("警告：固件S1x和S2x不能搞错，当前固件版本：140.S2B.P3GK            "));

    // A second instrument: the tree is rebuilt, unlisted values leave the selectors alone.
    ConnectFrame g(1);
    g.u8(1, 0);
    g.bytes(16, QByteArray::fromHex("000000000000"));
    g.u32(32, 3661);
    g.u8(36, 0x03); // manual start
    g.u8(37, 0x09); // not a stop mode
    g.u32(112, 0);
    g.u8(138, 1);
    g.u8(139, 1);
    form->deviceStatus() = aLogStateAnalyze(g.b, form->deviceStatus()).status;
    form->aLogStateDisplay(40);
    QCOMPARE(info->nodeCount(), 17 + 2);
    QCOMPARE(info->node(18)->text(0), QStringLiteral("通  道  数：1"));
    QVERIFY(info->node(19)->text(0).startsWith(QStringLiteral("通  道    1：【温度<℃>】")));
    QCOMPARE(info->node(20), nullptr);
    QCOMPARE(info->TreeView1->topLevelItemCount(), 3);
    QCOMPARE(info->node(10)->text(0), QStringLiteral("记录次数：0【0.00%，剩余耗时：0】"));
    QCOMPARE(info->node(11)->text(0), QStringLiteral("记录间隔：1小时1分钟1秒"));
    QCOMPARE(info->node(12)->text(0), QStringLiteral("启动时间：----------------"));
    QCOMPARE(info->node(7)->text(0), QStringLiteral("固件版本：00"));
    QCOMPARE(find<QComboBox>("ComboBox4")->currentIndex(), 0);
    QCOMPARE(find<QComboBox>("ComboBox6")->currentIndex(), 7);
    QCOMPARE(find<QComboBox>("ComboBox7")->currentIndex(), 2);
    QCOMPARE(find<QComboBox>("ComboBox8")->currentIndex(), 3);
    for (const char* picker : {"DateTimePicker1", "DateTimePicker2", "DateTimePicker3", "DateTimePicker4"})
        QVERIFY2(!find(picker)->isEnabled(), picker);
    QCOMPARE(find<QDateEdit>("DateTimePicker3")->date(), QDate(2025, 1, 2));
    QCOMPARE(find<QLabel>("Label50")->text(), QStringLiteral("固件版本不带.S ，无法升级          "));
}

void TestForm1::linkHost() {
    makeForm();
    LinkHost& host = *form;
    host.reportPortProblem(QStringLiteral("无法打开 /dev/ttyUSB0：权限不足，请把用户加入 dialout 组"));
    QCOMPARE(form->statusBar()->currentMessage(),
             QStringLiteral("无法打开 /dev/ttyUSB0：权限不足，请把用户加入 dialout 组"));

    host.setPortItems({"ttyUSB0", "ttyACM0"});
    QCOMPARE(host.portItems(), QStringList({"ttyUSB0", "ttyACM0"}));
    host.selectPort(1);
    QCOMPARE(host.selectedPortIndex(), 1);
    QCOMPARE(find<QComboBox>("ComboBox3")->currentText(), QStringLiteral("ttyACM0"));

    host.appendMonitorText("BB 01 ");
    host.appendMonitorText("DD ");
    QCOMPARE(find<QPlainTextEdit>("Memo2")->toPlainText(), QStringLiteral("BB 01 DD "));
    QCOMPARE(find<QPlainTextEdit>("Memo2")->textCursor().position(), 9);

    host.setStatusText("连接超时，请重新连接");
    QCOMPARE(find<QPlainTextEdit>("Memo1")->toPlainText(), QStringLiteral("连接超时，请重新连接"));
    host.setProgressRange(0, 5);
    host.setProgress(2);
    QCOMPARE(find<QProgressBar>("ProgressBar1")->value(), 2);
    host.setProgressToMaximum();
    QCOMPARE(find<QProgressBar>("ProgressBar1")->value(), 5);
    host.setConnectCaption("连接设备");
    QCOMPARE(find<QPushButton>("Button2")->text(), QStringLiteral("连接设备"));
    host.showInfoTab();
    QCOMPARE(form->PageControl1->currentWidget()->objectName(), QStringLiteral("TabSheet1"));
    host.collapseTree();
    QVERIFY(!form->infoPage->node(1)->isExpanded());

    find<QCheckBox>("CheckBox3")->setChecked(true);
    find<QCheckBox>("CheckBox7")->setChecked(true);
    QVERIFY(host.tcpChecked() && host.hexMonitorChecked());
    QVERIFY(!host.serverModeChecked() && !host.fixedPortChecked());
}

QTEST_MAIN(TestForm1)
#include "test_form1.moc"
