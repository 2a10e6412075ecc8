#include "ui/tcp_terminal.h"

#include "codec/field_text.h"
#include "core/gbk_text.h"
#include "history/gprs_table.h"
#include "history_view/history_grid.h"
#include "link/link_port.h"
#include "net/tcp_endpoints.h"
#include "ui/message_box.h"
#include "ui/widget_factory.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHostInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScopedValueRollback>
#include <QStatusBar>

namespace {

constexpr quint16 DefaultPort = 8001;
const QString SampleCommand = QStringLiteral("01 03 00 01 00 01 D5 CA");

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

TcpTerminal::TcpTerminal(const PageContext& context, QWidget* page, const QCheckBox* serverMode)
    : QObject(page), m_context(context), m_page(page), m_serverMode(serverMode) {
    const QString sample = SampleCommand;
    Label51 = makeLabel(page, "Label51");
    Label31 = makeLabel(page, "Label31");

    GroupBox13 = makeGroup(page, "GroupBox13", QStringLiteral("服务器"));
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

    GroupBox19 = makeGroup(page, "GroupBox19", QStringLiteral("客户端"));
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

    // The receive logs grow with every read; without an undo history and with a line limit
    // a peer that never stops talking costs a bounded amount of memory.
    for (QPlainTextEdit* log : {Memo5, Memo6}) {
        log->setUndoRedoEnabled(false);
        log->setMaximumBlockCount(LogLines);
    }

    connect(Button33, &QPushButton::clicked, this, &TcpTerminal::Button33Click);
    connect(Button32, &QPushButton::clicked, this, &TcpTerminal::Button32Click);
    connect(Button43, &QPushButton::clicked, this, &TcpTerminal::Button43Click);
    connect(Button42, &QPushButton::clicked, this, &TcpTerminal::Button42Click);
    connect(Button45, &QPushButton::clicked, this, &TcpTerminal::Button45Click);
    connect(Button41, &QPushButton::clicked, this, &TcpTerminal::Button41Click);
    connect(Button44, &QPushButton::clicked, this, &TcpTerminal::Button44Click);
}

qint64 TcpTerminal::serverReadLimit() const {
    return CheckBox2->isChecked() ? ServerHexReadBytes : TextReadBytes;
}

qint64 TcpTerminal::clientReadLimit() const {
    return CheckBox6->isChecked() ? ClientHexReadBytes : TextReadBytes;
}

void TcpTerminal::aMemoInit() {
    for (QPlainTextEdit* m : {Memo3, Memo5, Memo6, Memo8})
        giveVerticalScrollBar(m);
    Memo5->clear();
    Memo6->clear();
    Memo3->setPlainText(SampleCommand);
    Memo8->setPlainText(SampleCommand);
}

void TcpTerminal::aLabelInit() {
    Label51->setText(QStringLiteral("监听关闭    "));
    setTextColor(Label51, Qt::blue);
    Label31->setText(QStringLiteral("状态：已断开     "));
    setTextColor(Label31, Qt::blue);
    Label35->setText(QStringLiteral("本机 IP   "));
    Label14->setText(QStringLiteral("端口   "));
    Label25->setText(QStringLiteral("解析结果  "));
    Label30->setText(QStringLiteral("端口  "));
}

void TcpTerminal::aCheckboxInit() {
    CheckBox1->setChecked(true);
    CheckBox2->setChecked(true);
    CheckBox6->setChecked(true);
}

void TcpTerminal::setOwnAddress(const QString& dotted) {
    IPEdit1->setText(dotted);
    IPEdit2->setText(dotted);
}

void TcpTerminal::bind() {
    TcpServerEndpoint* server = m_context.serverSocket;
    TcpClientEndpoint* client = m_context.clientSocket;
    if (server) {
        connect(server, &TcpServerEndpoint::clientConnected, this, &TcpTerminal::tcpConnect);
        connect(server, &TcpServerEndpoint::clientDisconnected, this, &TcpTerminal::tcpDisconnect);
    }
    if (client) {
        connect(client, &TcpClientEndpoint::connected, this, &TcpTerminal::tcpConnect);
        connect(client, &TcpClientEndpoint::disconnected, this, &TcpTerminal::tcpDisconnect);
    }
    if (m_context.link)
        m_context.link->addReceiveTap(this, [this](LinkSource source, QByteArrayView bytes) {
            if (source == LinkSource::TcpServer)
                serverRead(bytes);
            else if (source == LinkSource::TcpClient)
                clientRead(bytes);
        });
}

void TcpTerminal::reportProblem(const QString& text) {
    if (auto* main = qobject_cast<QMainWindow*>(m_page->window()))
        main->statusBar()->showMessage(text);
}

void TcpTerminal::tcpConnect() {
    m_context.link->setTcpConnected(1);
    Label31->setText(QStringLiteral("状态：已连接     "));
}

void TcpTerminal::tcpDisconnect() {
    m_context.link->setTcpConnected(0);
    Label31->setText(QStringLiteral("状态：已断开     "));
}

void TcpTerminal::Button33Click() {
    TcpServerEndpoint* server = m_context.serverSocket;
    if (!server)
        return;
    if (server->isListening()) {
        m_context.link->setTcpConnected(0);
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

void TcpTerminal::Button32Click() {
    TcpServerEndpoint* server = m_context.serverSocket;
    if (!server || m_context.link->state().tcpConnected != 1 || !server->isListening())
        return;
    // Sent whole, however long: cutting an operator's bytes silently would be worse.
    server->send(CheckBox2->isChecked() ? aHexToBytes(typedHex(Memo3)) : stringToGbk(Memo3->toPlainText()));
}

void TcpTerminal::Button43Click() {
    Memo5->clear();
}

void TcpTerminal::Button42Click() {
    TcpClientEndpoint* client = m_context.clientSocket;
    // The pause below lets events run; a second press meanwhile would connect twice.
    if (!client || m_connectBusy)
        return;
    const QScopedValueRollback<bool> busy(m_connectBusy, true);
    const int attempt = ++m_connectAttempt;
    if (client->isOpen()) {
        client->close();
        m_context.link->Delay(300);
        if (client->isOpen() || attempt != m_connectAttempt)
            return;
    }
    if (RadioButton1->isChecked()) {
        openClient(IPEdit2->text());
        return;
    }
    QHostInfo::lookupHost(Edit28->text().trimmed(), this, [this, attempt](const QHostInfo& info) {
        if (attempt != m_connectAttempt)
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

void TcpTerminal::openClient(const QString& address) {
    QString portText = Edit15->text();
    portText.remove(u' ').remove(u'.');
    try {
        const qint64 port = parseDecimal(portText);
        if (port < 0 || port > 0xFFFF)
            throw ConversionError(portText);
        m_context.clientSocket->open(address, quint16(port));
    } catch (const ConversionError& e) {
        showMessage(m_page, e.message());
    }
}

void TcpTerminal::Button45Click() {
    ++m_connectAttempt;
    TcpClientEndpoint* client = m_context.clientSocket;
    if (client && client->isOpen())
        client->close();
}

void TcpTerminal::Button41Click() {
    TcpClientEndpoint* client = m_context.clientSocket;
    if (!client || !client->isOpen())
        return;
    if (!CheckBox1->isChecked()) {
        client->send(stringToGbk(Memo8->toPlainText()));
        return;
    }
    const QByteArray bytes = aHexToBytes(typedHex(Memo8));
    m_context.link->setTransmitterOp(1000);
    if (!client->send(bytes))
        m_context.setStatusText(QStringLiteral("客户端TCP数据发送错误"));
}

void TcpTerminal::Button44Click() {
    Memo6->clear();
}

void TcpTerminal::serverRead(QByteArrayView bytes) {
    appendLog(Memo5, aNowText() + QStringLiteral("接收:\n"));
    QString log;
    if (!CheckBox2->isChecked()) {
        log = gbkToString(bytes);
    } else {
        log = QString::fromLatin1(aBytesToHex(bytes));
        // In server mode the link takes the frames; otherwise a read with a good sum is an upload.
        if (!m_serverMode->isChecked() && hasGprsUploadSum(bytes)) {
            emit gprsPacketReceived(bytes.toByteArray());
            aLogDataFromGPRS(bytes);
        }
    }
    appendLog(Memo5, log + u'\n');
}

void TcpTerminal::clientRead(QByteArrayView bytes) {
    const QString log = CheckBox6->isChecked() ? QString::fromLatin1(aBytesToHex(bytes)) : gbkToString(bytes);
    appendLog(Memo6, u'\n' + log);
}

void TcpTerminal::aLogDataFromGPRS(QByteArrayView packet) {
    HistoryGrid* grid = m_context.historyGrid;
    const std::optional<GprsPacket> decoded = aDecodeGprsPacket(packet);
    if (!grid || !decoded)
        return;
    HistoryTableModel* table = grid->table();
    const int lastRow = appendGprsUpload(*table, *decoded, *m_context.status);
    const int currentColumn = qBound(0, grid->currentIndex().column(), table->columnCount() - 1);
    grid->setCurrentIndex(table->index(lastRow, currentColumn));

    if (!decoded->errorText.isEmpty())
        showMessage(m_page, ConversionError(decoded->errorText).message());
}
