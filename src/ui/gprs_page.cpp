#include "ui/gprs_page.h"

#include "core/gbk_text.h"
#include "history/gprs_log.h"
#include "history/history_grid.h"
#include "link/command_link.h"
#include "net/tcp_endpoints.h"
#include "ui/message_box.h"
#include "ui/widget_factory.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHostInfo>
#include <QMainWindow>
#include <QRegularExpressionValidator>
#include <QScopedValueRollback>
#include <QStatusBar>
#include <QTcpSocket>
#include <QVBoxLayout>

namespace {

constexpr quint16 DefaultPort = 8001;

void appendLog(QPlainTextEdit* memo, const QString& text) {
    memo->moveCursor(QTextCursor::End);
    memo->insertPlainText(text);
    memo->moveCursor(QTextCursor::End);
}

// Hex text typed by the operator, as the hex converter reads it.
HexText typedHex(const QPlainTextEdit* memo) {
    return aHexStrip(memo->toPlainText().toLatin1());
}

} // namespace

QString defaultServerHostName() {
    return QStringLiteral("data.korvel-iot.com");
}

QLineEdit* makeIpEdit(QWidget* parent, const char* name, const QString& text) {
    QLineEdit* e = makeEdit(parent, name, text);
    static const QRegularExpression dotted(
        QStringLiteral(R"(^((25[0-5]|2[0-4]\d|1?\d?\d)\.){0,3}(25[0-5]|2[0-4]\d|1?\d?\d)?$)"));
    e->setValidator(new QRegularExpressionValidator(dotted, e));
    return e;
}

GprsPage::GprsPage(const PageContext& context, QWidget* parent) : Page(context, "TabSheet8", parent) {
    const QString sample = QStringLiteral("01 03 00 01 00 01 D5 CA");
    CheckBox3 = makeCheck(this, "CheckBox3", QStringLiteral("TCP/IP通讯         "));
    CheckBox5 = makeCheck(this, "CheckBox5", QStringLiteral("服务器模式"));
    Label51 = makeLabel(this, "Label51");
    Label31 = makeLabel(this, "Label31");

    GroupBox13 = makeGroup(this, "GroupBox13", QStringLiteral("服务器"));
    Label35 = makeLabel(GroupBox13, "Label35");
    IPEdit1 = makeIpEdit(GroupBox13, "IPEdit1", QStringLiteral("0.0.0.0"));
    Label14 = makeLabel(GroupBox13, "Label14");
    Edit1 = makeEdit(GroupBox13, "Edit1", QStringLiteral("8001"));
    Button33 = makeButton(GroupBox13, "Button33", QStringLiteral("打开监听"));
    Button32 = makeButton(GroupBox13, "Button32", QStringLiteral("发送"));
    Button43 = makeButton(GroupBox13, "Button43", QStringLiteral("清空"));
    CheckBox2 = makeCheck(GroupBox13, "CheckBox2", QStringLiteral("hex"));
    Memo3 = makeMemo(GroupBox13, "Memo3");
    Memo3->setPlainText(sample);
    Memo5 = makeMemo(GroupBox13, "Memo5");
    {
        auto* g = new QGridLayout(GroupBox13);
        g->addWidget(Label35, 0, 0);
        g->addWidget(IPEdit1, 0, 1, 1, 2);
        g->addWidget(Label14, 1, 0);
        g->addWidget(Edit1, 1, 1, 1, 2);
        g->addWidget(Button33, 2, 0);
        g->addWidget(Button32, 2, 1);
        g->addWidget(Button43, 2, 2);
        g->addWidget(CheckBox2, 3, 0);
        g->addWidget(Memo3, 4, 0, 1, 3);
        g->addWidget(Memo5, 5, 0, 1, 3);
        g->setRowStretch(5, 1);
    }

    GroupBox19 = makeGroup(this, "GroupBox19", QStringLiteral("客户端"));
    RadioButton1 = makeRadio(GroupBox19, "RadioButton1", QStringLiteral("服务器 IP   "));
    IPEdit2 = makeIpEdit(GroupBox19, "IPEdit2", QStringLiteral("0.0.0.0"));
    RadioButton2 = makeRadio(GroupBox19, "RadioButton2", QStringLiteral("服务器域名  "));
    Edit28 = makeEdit(GroupBox19, "Edit28", defaultServerHostName());
    Label25 = makeLabel(GroupBox19, "Label25");
    IPEdit4 = makeIpEdit(GroupBox19, "IPEdit4", QStringLiteral("0.0.0.0"));
    Label30 = makeLabel(GroupBox19, "Label30");
    Edit15 = makeEdit(GroupBox19, "Edit15", QStringLiteral("8001"));
    Button42 = makeButton(GroupBox19, "Button42", QStringLiteral("连接"));
    Button45 = makeButton(GroupBox19, "Button45", QStringLiteral("断开"));
    Button41 = makeButton(GroupBox19, "Button41", QStringLiteral("发送"));
    Button44 = makeButton(GroupBox19, "Button44", QStringLiteral("清空"));
    CheckBox1 = makeCheck(GroupBox19, "CheckBox1", QStringLiteral("hex"));
    CheckBox6 = makeCheck(GroupBox19, "CheckBox6", QStringLiteral("hex       "));
    Memo8 = makeMemo(GroupBox19, "Memo8");
    Memo8->setPlainText(sample);
    Memo6 = makeMemo(GroupBox19, "Memo6");
    RadioButton1->setChecked(true);
    {
        auto* g = new QGridLayout(GroupBox19);
        g->addWidget(RadioButton1, 0, 0);
        g->addWidget(IPEdit2, 0, 1, 1, 3);
        g->addWidget(RadioButton2, 1, 0);
        g->addWidget(Edit28, 1, 1, 1, 3);
        g->addWidget(Label25, 2, 0);
        g->addWidget(IPEdit4, 2, 1, 1, 3);
        g->addWidget(Label30, 3, 0);
        g->addWidget(Edit15, 3, 1, 1, 3);
        g->addWidget(Button42, 4, 0);
        g->addWidget(Button45, 4, 1);
        g->addWidget(Button41, 4, 2);
        g->addWidget(Button44, 4, 3);
        g->addWidget(CheckBox1, 5, 0);
        g->addWidget(CheckBox6, 5, 1);
        g->addWidget(Memo8, 6, 0, 1, 4);
        g->addWidget(Memo6, 7, 0, 1, 4);
        g->setRowStretch(7, 1);
    }

    GroupBox14 = makeGroup(this, "GroupBox14", QStringLiteral("GPRS仪器参数"));
    RadioButton3 = makeRadio(GroupBox14, "RadioButton3", QStringLiteral("发送到 IP 地址        "));
    IPEdit3 = makeIpEdit(GroupBox14, "IPEdit3", QStringLiteral("0.0.0.0"));
    RadioButton4 = makeRadio(GroupBox14, "RadioButton4", QStringLiteral("发送到域名地址      "));
    Edit18 = makeEdit(GroupBox14, "Edit18");
    Label34 = makeLabel(GroupBox14, "Label34");
    Edit17 = makeEdit(GroupBox14, "Edit17", QStringLiteral("8001"));
    Label36 = makeLabel(GroupBox14, "Label36");
    ComboBox13 = makeCombo(GroupBox14, "ComboBox13", true);
    Label76 = makeLabel(GroupBox14, "Label76");
    ComboBox12 = makeCombo(GroupBox14, "ComboBox12", true);
    Label59 = makeLabel(GroupBox14, "Label59");
    ComboBox17 = makeCombo(GroupBox14, "ComboBox17");
    Label64 = makeLabel(GroupBox14, "Label64");
    ComboBox20 = makeCombo(GroupBox14, "ComboBox20");
    Button35 = makeButton(GroupBox14, "Button35", QStringLiteral("读取"));
    Button34 = makeButton(GroupBox14, "Button34", QStringLiteral("确定"));
    Label78 = makeLabel(GroupBox14, "Label78");
    Label78->setWordWrap(true);
    RadioButton3->setChecked(true);
    {
        auto* g = new QGridLayout(GroupBox14);
        const std::pair<QWidget*, QWidget*> rows[] = {
            {RadioButton3, IPEdit3}, {RadioButton4, Edit18}, {Label34, Edit17},     {Label36, ComboBox13},
            {Label76, ComboBox12},   {Label59, ComboBox17},  {Label64, ComboBox20}, {Button35, Button34}};
        int r = 0;
        for (const auto& [a, b] : rows) {
            g->addWidget(a, r, 0);
            g->addWidget(b, r++, 1);
        }
        g->addWidget(Label78, r, 0, 1, 2);
        g->setRowStretch(r, 1);
    }

    auto* columns = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* switches = new QGridLayout;
    switches->addWidget(CheckBox3, 0, 0);
    switches->addWidget(CheckBox5, 0, 1);
    switches->addWidget(Label51, 1, 0);
    switches->addWidget(Label31, 1, 1);
    left->addLayout(switches);
    left->addWidget(GroupBox13, 1);
    columns->addLayout(left, 1);
    columns->addWidget(GroupBox19, 1);
    columns->addWidget(GroupBox14, 1);

    // The receive logs grow with every read; without an undo history and with a line limit
    // a peer that never stops talking costs a bounded amount of memory.
    for (QPlainTextEdit* log : {Memo5, Memo6}) {
        log->setUndoRedoEnabled(false);
        log->setMaximumBlockCount(LogLines);
    }

    connect(Button33, &QPushButton::clicked, this, &GprsPage::Button33Click);
    connect(Button32, &QPushButton::clicked, this, &GprsPage::Button32Click);
    connect(Button43, &QPushButton::clicked, this, &GprsPage::Button43Click);
    connect(Button42, &QPushButton::clicked, this, &GprsPage::Button42Click);
    connect(Button45, &QPushButton::clicked, this, &GprsPage::Button45Click);
    connect(Button41, &QPushButton::clicked, this, &GprsPage::Button41Click);
    connect(Button44, &QPushButton::clicked, this, &GprsPage::Button44Click);
}

void GprsPage::aComboboxInit() {
    fillCombo(ComboBox12,
              {QStringLiteral("1分钟"), QStringLiteral("5分钟"), QStringLiteral("10分钟"),
               QStringLiteral("15分钟"), QStringLiteral("20分钟"), QStringLiteral("30分钟"),
               QStringLiteral("1小时"), QStringLiteral("2小时"), QStringLiteral("4小时"), QString()},
              9);
    fillCombo(ComboBox13, {QStringLiteral("0"),      QStringLiteral("10秒"),   QStringLiteral("20秒"),
                           QStringLiteral("30秒"),   QStringLiteral("1分钟"),  QStringLiteral("2分钟"),
                           QStringLiteral("5分钟"),  QStringLiteral("10分钟"), QStringLiteral("15分钟"),
                           QStringLiteral("20分钟"), QStringLiteral("30分钟"), QStringLiteral("1小时"),
                           QStringLiteral("2小时"),  QStringLiteral("3小时"),  QStringLiteral("6小时"),
                           QStringLiteral("12小时"), QStringLiteral("1天"),    QStringLiteral("2天"),
                           QStringLiteral("3天"),    QStringLiteral("4天"),    QString()},
              1);
    fillCombo(ComboBox17, {QStringLiteral("正常模式"), QStringLiteral("省电模式"), QString()}, 0);
    fillCombo(ComboBox20,
              {QStringLiteral("100"), QStringLiteral("200"), QStringLiteral("300"), QStringLiteral("500"),
               QStringLiteral("1000"), QStringLiteral("2000"), QStringLiteral("最大容量"), QString()},
              0);
}

void GprsPage::aMemoInit() {
    for (QPlainTextEdit* m : {Memo3, Memo5, Memo6, Memo8})
        giveVerticalScrollBar(m);
    Memo5->clear();
    Memo6->clear();
    Memo3->setPlainText(QStringLiteral("01 03 00 01 00 01 D5 CA"));
    Memo8->setPlainText(QStringLiteral("01 03 00 01 00 01 D5 CA"));
}

void GprsPage::aLabelInit() {
    Label51->setText(QStringLiteral("监听关闭    "));
    setTextColor(Label51, Qt::blue);
    Label31->setText(QStringLiteral("状态：已断开     "));
    setTextColor(Label31, Qt::blue);
    Label35->setText(QStringLiteral("本机 IP   "));
    Label14->setText(QStringLiteral("端口   "));
    Label25->setText(QStringLiteral("解析结果  "));
    Label30->setText(QStringLiteral("端口  "));
    Label34->setText(QStringLiteral("  端       口     "));
    Label36->setText(QStringLiteral("记录间隔    "));
    Label76->setText(QStringLiteral("上传间隔    "));
    Label59->setText(QStringLiteral("电源模式  "));
    Label64->setText(QStringLiteral("打印条数      "));
    Label78->setText(QStringLiteral("注意：默认配置为发送到 IP 地址，端口 8001，记录间隔 10秒。\n"
                                    "1. 上传间隔须不小于记录间隔；\n"
                                    "2. 省电模式下仪器只在上传时联网；\n"
                                    "3. 设置后请重新连接设备核对参数。"));
}

void GprsPage::aCheckboxInit() {
    CheckBox1->setChecked(true);
    CheckBox2->setChecked(true);
    CheckBox6->setChecked(true);
}

void GprsPage::setOwnAddress(const QString& dotted) {
    IPEdit1->setText(dotted);
    IPEdit2->setText(dotted);
}

void GprsPage::bindSockets() {
    TcpServerEndpoint* server = context().serverSocket;
    TcpClientEndpoint* client = context().clientSocket;
    if (server) {
        connect(server, &TcpServerEndpoint::clientConnected, this, &GprsPage::tcpConnect);
        connect(server, &TcpServerEndpoint::clientDisconnected, this, &GprsPage::tcpDisconnect);
        connect(server, &TcpServerEndpoint::readable, this, &GprsPage::serverReadable);
    }
    if (client) {
        connect(client, &TcpClientEndpoint::connected, this, &GprsPage::tcpConnect);
        connect(client, &TcpClientEndpoint::disconnected, this, &GprsPage::tcpDisconnect);
        connect(client, &TcpClientEndpoint::readable, this, &GprsPage::clientReadable);
    }
}

void GprsPage::reportProblem(const QString& text) {
    if (auto* main = qobject_cast<QMainWindow*>(window()))
        main->statusBar()->showMessage(text);
}

void GprsPage::tcpConnect() {
    context().link->state().tcpConnected = 1;
    Label31->setText(QStringLiteral("状态：已连接     "));
}

void GprsPage::tcpDisconnect() {
    context().link->state().tcpConnected = 0;
    Label31->setText(QStringLiteral("状态：已断开     "));
}

void GprsPage::Button33Click() {
    TcpServerEndpoint* server = context().serverSocket;
    if (!server)
        return;
    if (server->isListening()) {
        context().link->state().tcpConnected = 0;
        Label51->setText(QStringLiteral("监听关闭    "));
        Label31->setText(QStringLiteral("状态：已断开     "));
        Button33->setText(QStringLiteral("打开监听"));
        server->close();
        return;
    }
    quint16 port = DefaultPort;
    try {
        const qint64 typed = parseDecimal(Edit1->text());
        if (typed < 0 || typed > 0xFFFF)
            throw ConversionError(Edit1->text());
        port = quint16(typed);
    } catch (const ConversionError&) {
        Edit1->setText(QString::number(DefaultPort));
    }
    // A port that is taken (or below 1024 without the right) must not read as listening.
    if (!server->listen(port)) {
        reportProblem(
            QStringLiteral("端口 %1 无法监听：端口已被占用，或 1024 以下的端口需要管理员权限").arg(port));
        return;
    }
    Label51->setText(QStringLiteral("监听开启      "));
    Button33->setText(QStringLiteral("关闭监听"));
}

void GprsPage::Button32Click() {
    TcpServerEndpoint* server = context().serverSocket;
    if (!server || context().link->state().tcpConnected != 1 || !server->isListening())
        return;
    // Sent whole, however long: cutting an operator's bytes silently would be worse.
    server->send(CheckBox2->isChecked() ? aHexToBytes(typedHex(Memo3)) : stringToGbk(Memo3->toPlainText()));
}

void GprsPage::Button43Click() {
    Memo5->clear();
}

void GprsPage::Button42Click() {
    TcpClientEndpoint* client = context().clientSocket;
    // The pause below lets events run; a second press meanwhile would connect twice.
    if (!client || connectBusy_)
        return;
    const QScopedValueRollback<bool> busy(connectBusy_, true);
    const int attempt = ++connectAttempt_;
    if (client->isOpen()) {
        client->close();
        context().link->Delay(300);
        if (client->isOpen() || attempt != connectAttempt_)
            return;
    }
    if (RadioButton1->isChecked()) {
        openClient(IPEdit2->text());
        return;
    }
    QHostInfo::lookupHost(Edit28->text().trimmed(), this, [this, attempt](const QHostInfo& info) {
        if (attempt != connectAttempt_)
            return;
        QString address;
        for (const QHostAddress& a : info.addresses())
            if (a.protocol() == QAbstractSocket::IPv4Protocol) {
                address = a.toString();
                break;
            }
        IPEdit4->setText(address.isEmpty() ? QStringLiteral("0.0.0.0") : address);
        // "0.0.0.0" would reach this machine on Linux; a failed look-up connects nowhere.
        if (!address.isEmpty())
            openClient(address);
    });
}

void GprsPage::openClient(const QString& address) {
    QString portText = Edit15->text();
    portText.remove(u' ').remove(u'.');
    try {
        const qint64 port = parseDecimal(portText);
        if (port < 0 || port > 0xFFFF)
            throw ConversionError(portText);
        context().clientSocket->open(address, quint16(port));
    } catch (const ConversionError& e) {
        showMessage(this, e.message());
    }
}

void GprsPage::Button45Click() {
    ++connectAttempt_;
    TcpClientEndpoint* client = context().clientSocket;
    if (client && client->isOpen())
        client->close();
}

void GprsPage::Button41Click() {
    TcpClientEndpoint* client = context().clientSocket;
    if (!client || !client->isOpen())
        return;
    if (!CheckBox1->isChecked()) {
        client->send(stringToGbk(Memo8->toPlainText()));
        return;
    }
    const QByteArray bytes = aHexToBytes(typedHex(Memo8));
    context().link->state().transmitterOp = 1000;
    if (!client->send(bytes))
        context().setStatusText(QStringLiteral("客户端TCP数据发送错误"));
}

void GprsPage::Button44Click() {
    Memo6->clear();
}

void GprsPage::serverReadable(QTcpSocket* connection) {
    const bool hex = CheckBox2->isChecked();
    const QByteArray bytes = readBounded(connection, hex ? ServerHexReadBytes : TextReadBytes,
                                         [this, connection] { serverReadable(connection); });
    if (bytes.isEmpty())
        return;
    appendLog(Memo5, aNowText() + QStringLiteral("接收:\n"));
    QString log;
    if (!hex) {
        log = gbkToString(bytes);
    } else {
        log = QString::fromLatin1(aBytesToHex(bytes));
        if (CheckBox5->isChecked()) {
            context().link->receiveFromTcp(bytes);
        } else if (hasGprsUploadSum(bytes)) {
            emit gprsPacketReceived(bytes);
            aLogDataFromGPRS(bytes);
        }
    }
    appendLog(Memo5, log + u'\n');
}

void GprsPage::clientReadable(QTcpSocket* connection) {
    const bool hex = CheckBox6->isChecked();
    const QByteArray bytes = readBounded(connection, hex ? ClientHexReadBytes : TextReadBytes,
                                         [this, connection] { clientReadable(connection); });
    if (bytes.isEmpty())
        return;
    QString log;
    if (hex) {
        context().link->receiveFromTcp(bytes);
        log = QString::fromLatin1(aBytesToHex(bytes));
    } else {
        log = gbkToString(bytes);
    }
    appendLog(Memo6, u'\n' + log);
}

void GprsPage::aLogDataFromGPRS(QByteArrayView packet) {
    HistoryGrid* grid = context().historyGrid;
    const std::optional<GprsPacket> decoded = aDecodeGprsPacket(packet);
    if (!grid || !decoded)
        return;
    HistoryTableModel* table = grid->table();
    const QStringList header = gprsHeader(*decoded);
    const int columnCount = int(header.size());
    // Row 0 is the header; the rows below it stay and the records go after them.
    if (table->rowCount() == 0)
        table->resize(1, columnCount);
    else
        table->setColumnCount(columnCount);
    for (int c = 0; c < columnCount; ++c)
        table->setText(0, c, header[c]);
    QList<QStringList> rows;
    int row = table->rowCount();
    for (const GprsRecord& record : decoded->records) {
        // The number is the row count after the append less two: under the start-up table (the
        // header and one empty row) the first record is number 1.
        rows << gprsRow(*decoded, record, row + 1 - 2, *context().status);
        ++row;
    }
    table->appendRows(rows);
    const int currentColumn = qBound(0, grid->currentIndex().column(), columnCount - 1);
    grid->setCurrentIndex(table->index(table->rowCount() - 1, currentColumn));

    if (!decoded->errorText.isEmpty())
        showMessage(this, ConversionError(decoded->errorText).message());
}
