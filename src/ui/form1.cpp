#include "ui/form1.h"

#include "device/info_view.h"
#include "history_view/history_grid.h"
#include "history_view/history_plot.h"
#include "link/command_link.h"
#include "net/tcp_endpoints.h"
#include "net/tcp_transport.h"
#include "serial/port_list.h"
#include "serial/tcomm.h"
#include "serial/tcomm_transport.h"
#include "ui/firmware_page.h"
#include "ui/gprs_page.h"
#include "ui/history_pages.h"
#include "ui/info_page.h"
#include "ui/login_forms.h"
#include "ui/receiver_page.h"
#include "ui/recording_bar.h"
#include "ui/settings_page.h"
#include "ui/sms_page.h"
#include "ui/tcp_terminal.h"
#include "ui/timeout_form.h"
#include "ui/transmitter_page.h"
#include "ui/widget_factory.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Kept out of the window skin, as the progress bars always were.
constexpr int UnskinnedTag = 99;

} // namespace

TForm1::TForm1(Hooks hooks, QWidget* parent) : QMainWindow(parent), m_hooks(std::move(hooks)) {
    setObjectName(QStringLiteral("TForm1"));
    resize(971, 686);

    Panel1 = named(new QWidget(this), "Panel1");
    setCentralWidget(Panel1);
    buildTopBar();

    m_context.addressBox = ComboBox4;
    m_context.statusLine = Memo1;
    m_context.exchangeProgress = ProgressBar1;
    m_context.workProgress = ProgressBar2;
    m_context.pageControl = PageControl1;
    m_context.status = &m_status;

    recordingBar = new RecordingBar(m_context, Button13, Button14, SpeedButton1, this);
    infoPage = new InfoPage(m_context);
    historyTablePage = new HistoryTablePage(m_context);
    historyCurvePage = new HistoryCurvePage(m_context);
    settingsPage = new SettingsPage(m_context);
    smsPage = new SmsPage(m_context);
    gprsPage = new GprsPage(m_context);
    transmitterPage = new TransmitterPage(m_context);
    receiverPage = new ReceiverPage(m_context);
    firmwarePage = new FirmwarePage(m_context);
    PageControl1->addTab(infoPage, QStringLiteral("信息栏"));
    PageControl1->addTab(historyTablePage, QStringLiteral("历史数据"));
    PageControl1->addTab(historyCurvePage, QStringLiteral("历史曲线"));
    PageControl1->addTab(settingsPage, QStringLiteral("参数设置"));
    PageControl1->addTab(smsPage, QStringLiteral("短信操作"));
    PageControl1->addTab(gprsPage, QStringLiteral("GPRS网络"));
    PageControl1->addTab(transmitterPage, QStringLiteral("变送器"));
    PageControl1->addTab(receiverPage, QStringLiteral("接收机"));
    PageControl1->addTab(firmwarePage, QStringLiteral("固件升级"));

    buildMenu();

    OpenDialog1 =
        named(new QFileDialog(this, QString(), QString(), QStringLiteral("固件文件 (*.txt);;所有文件 (*)")),
              "OpenDialog1");
    OpenDialog1->setFileMode(QFileDialog::ExistingFile);
    SaveDialog1 = named(new QFileDialog(this), "SaveDialog1");
    SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
    buildLink();
    recordingBar->registerResponses();
    for (Page* p : pages())
        p->registerResponses();

    statusBar()->setObjectName(QStringLiteral("StatusBar1"));

    FormCreate();

    // The login dialog, its holder and the time-out dialog come after the window, as
    // separate windows; nothing in the start-up above may rely on them.
    m_form2 = std::make_unique<TForm2>();
    m_form3 = std::make_unique<TForm3>(
        settingsPage->loginControls(), [this] { Button2Click(); }, m_form2.get());
    m_form2->setHolder(m_form3.get());
    m_form4 = std::make_unique<TForm4>([this](int ms) {
        if (m_hooks.setResponseTimeout)
            m_hooks.setResponseTimeout(ms);
    });
}

TForm1::~TForm1() = default;

void TForm1::buildTopBar() {
    GroupBox1 = makeGroup(Panel1, "GroupBox1", QString());
    ProgressBar1 = named(new QProgressBar(GroupBox1), "ProgressBar1");
    Memo1 = makeMemo(GroupBox1, "Memo1");
    ProgressBar2 = named(new QProgressBar(GroupBox1), "ProgressBar2");
    for (QProgressBar* bar : {ProgressBar1, ProgressBar2}) {
        bar->setTextVisible(false);
        bar->setMaximumHeight(10);
    }
    ProgressBar1->setValue(0);
    Memo1->setMaximumHeight(52);
    {
        auto* v = new QVBoxLayout(GroupBox1);
        v->setContentsMargins(4, 4, 4, 4);
        v->setSpacing(2);
        v->addWidget(ProgressBar1);
        v->addWidget(Memo1);
        v->addWidget(ProgressBar2);
    }

    CheckBox4 = makeCheck(Panel1, "CheckBox4", QStringLiteral("固定串口   "));
    ComboBox3 = makeCombo(Panel1, "ComboBox3");
    ComboBox4 = makeCombo(Panel1, "ComboBox4");
    keepLastValidSelection(ComboBox4);
    for (QComboBox* box : {ComboBox3, ComboBox4})
        box->setMinimumWidth(110);
    Button2 = makeButton(Panel1, "Button2", QStringLiteral("  连接设备  "));
    Button16 = makeButton(Panel1, "Button16", QStringLiteral("下载数据"));
    Button13 = makeButton(Panel1, "Button13", QStringLiteral("重启记录"));
    Button14 = makeButton(Panel1, "Button14", QStringLiteral("停止记录"));
    SpeedButton1 = named(new QToolButton(Panel1), "SpeedButton1");
    SpeedButton1->setText(QStringLiteral("同步时钟"));
    SpeedButton1->setAutoRaise(true);

    PageControl1 = named(new QTabWidget(Panel1), "PageControl1");

    auto* bar = new QHBoxLayout;
    bar->addWidget(GroupBox1, 1);
    bar->addWidget(CheckBox4);
    auto* ports = new QVBoxLayout;
    ports->addWidget(ComboBox3);
    ports->addWidget(ComboBox4);
    bar->addLayout(ports);
    for (QWidget* w : std::initializer_list<QWidget*>{Button2, Button16, Button13, Button14, SpeedButton1}) {
        w->setMinimumHeight(36);
        bar->addWidget(w);
    }
    auto* frame = new QVBoxLayout(Panel1);
    frame->setContentsMargins(4, 4, 4, 4);
    frame->addLayout(bar);
    frame->addWidget(PageControl1, 1);

    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
}

void TForm1::buildMenu() {
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    File1 = named(MainMenu1->addMenu(QString()), "File1");
    N2 = named(File1->addAction(QStringLiteral("登录")), "N2");
    csv1 = named(File1->addAction(QString()), "csv1");
    pdf1 = named(File1->addAction(QStringLiteral("保存历史数据(pdf文件)")), "pdf1");
    help1 = named(MainMenu1->addMenu(QStringLiteral("帮助")), "help1");
    Language1 = named(help1->addAction(QStringLiteral("超时时间")), "Language1");
    N1 = named(help1->addAction(QStringLiteral("帮助")), "N1");
    connect(N2, &QAction::triggered, this, &TForm1::N2Click);
    connect(Language1, &QAction::triggered, this, &TForm1::Language1Click);
}

QList<Page*> TForm1::pages() const {
    return {infoPage, historyTablePage, historyCurvePage, settingsPage, smsPage,
            gprsPage, transmitterPage,  receiverPage,     firmwarePage};
}

void TForm1::FormCreate() {
    aInitSystem();
}

void TForm1::aInitSystem() {
    setWindowTitle(QStringLiteral(" 管理主机   安装测试工具  KorvelVodor  5.7  "));
    m_hooks.setResponseTimeout(4096);
    // The frame, the pages, the table, the tree and the curve sit in layouts and follow the
    // window's size.
    ProgressBar1->setProperty("tag", UnskinnedTag);
    ProgressBar2->setProperty("tag", UnskinnedTag);
    ProgressBar2->setValue(ProgressBar2->maximum());
    aMenuInit();
    historyCurvePage->Plot1->aInitPlot(8, m_status);
    infoPage->aTreeInit();
    aComboboxInit();
    aMemoInit();
    aEditInit();
    aLabelInit();
    aDateTimePickerInit();
    aCheckboxInit();
    historyTablePage->StringGrid2->aStringGridInit();

    gprsPage->terminal->setOwnAddress(localIPv4Address());
    gprsPage->terminal->RadioButton1->setChecked(true);
    gprsPage->RadioButton3->setChecked(true);
    ServerSocket1->close();
    m_hooks.resetLink();
    TForm3::loginFalse(settingsPage->loginControls());
    m_status.featureFlags = 0;
    m_status.featureFlags2 = 0;
    PageControl1->setCurrentWidget(historyCurvePage);

    Button2Click();
}

void TForm1::aMenuInit() {
    File1->setTitle(QStringLiteral("选项"));
    csv1->setText(QStringLiteral("保存历史数据(csv文件)"));
}

void TForm1::aComboboxInit() {
    ComboBox3->setFocusPolicy(Qt::NoFocus);
    fillCombo(ComboBox4, addressItems(), 1);
    for (Page* p : pages())
        p->aComboboxInit();
}

void TForm1::aMemoInit() {
    giveVerticalScrollBar(Memo1);
    Memo1->setPlainText(QStringLiteral("请连接设备"));
    Memo1->setFont(statusFont());
    setTextColor(Memo1, Qt::blue);
    for (Page* p : pages())
        p->aMemoInit();
}

void TForm1::aEditInit() {
    for (Page* p : pages())
        p->aEditInit();
}

void TForm1::aLabelInit() {
    for (Page* p : pages())
        p->aLabelInit();
}

void TForm1::aDateTimePickerInit() {
    for (Page* p : pages())
        p->aDateTimePickerInit();
}

void TForm1::aCheckboxInit() {
    for (Page* p : pages())
        p->aCheckboxInit();
}

void TForm1::aLogStateDisplay(qint64 roundTripMs) {
    infoPage->showStatus(m_status);
    ComboBox4->setCurrentIndex(qBound(0, m_status.address, ComboBox4->count() - 1));
    setStatusText(connectedStatusText(m_status.address, roundTripMs));
    settingsPage->showDeviceStatus(m_status);
    firmwarePage->Label50->setText(infoViewTexts(m_status).firmwareNote);
}

void TForm1::Button2Click() {
    m_hooks.connectRequested();
}

void TForm1::buildLink() {
    Comm1 = named(new TComm(this), "Comm1");
    TCommTransport::applyFormValues(*Comm1);
    ServerSocket1 = named(new TcpServerEndpoint(this), "ServerSocket1");
    ClientSocket1 = named(new TcpClientEndpoint(this), "ClientSocket1");
    m_serialTransport = std::make_unique<TCommTransport>(*Comm1);
    TcpTerminal* terminal = gprsPage->terminal;
    m_serverTransport = std::make_unique<TcpServerTransport>(
        *ServerSocket1, [terminal] { return terminal->serverReadLimit(); });
    m_clientTransport = std::make_unique<TcpClientTransport>(
        *ClientSocket1, [terminal] { return terminal->clientReadLimit(); });
    link = new CommandLink(*this, *m_serialTransport, m_serverTransport.get(), m_clientTransport.get(), this);
    link->setObjectName(QStringLiteral("CommandLink"));
    m_context.link = link;
    m_context.historyGrid = historyTablePage->StringGrid2;
    m_context.serverSocket = ServerSocket1;
    m_context.clientSocket = ClientSocket1;
    terminal->bind();
    link->portLister = m_hooks.portLister ? m_hooks.portLister : PortLister(systemSerialPorts);
    link->dispatcher().linkedIni = [this] { smsPage->aLinkedIni(); };
    link->dispatcher().analyzeAndDisplay = [this](QByteArrayView frame) { return onConnectResponse(frame); };

    if (!m_hooks.connectRequested)
        m_hooks.connectRequested = [this] { link->Button2Click(); };
    if (!m_hooks.setResponseTimeout)
        m_hooks.setResponseTimeout = [this](int ms) { link->setResponseTimeoutMs(ms); };
    if (!m_hooks.resetLink)
        m_hooks.resetLink = [this] {
            link->Timer1().stop();
            link->setMonitorActive(0);
        };
}

int TForm1::onConnectResponse(QByteArrayView frame) {
    const LogStateResult decoded = aLogStateAnalyze(frame, m_status);
    // A wireless receiver is asked for its parameters at once, before the view is filled.
    if (decoded.isReceiver)
        receiverPage->Button62Click();
    m_status = decoded.status;
    aLogStateDisplay(link->state().roundTripMs);
    return m_status.startTimeUnset;
}

void TForm1::N2Click() {
    if (m_form3)
        m_form3->showForm2();
}

void TForm1::Language1Click() {
    if (!m_form4)
        return;
    m_form4->show();
    m_form4->raise();
    m_form4->activateWindow();
}

bool TForm1::tcpChecked() const {
    return gprsPage->CheckBox3->isChecked();
}

bool TForm1::serverModeChecked() const {
    return gprsPage->CheckBox5->isChecked();
}

bool TForm1::fixedPortChecked() const {
    return CheckBox4->isChecked();
}

bool TForm1::hexMonitorChecked() const {
    return smsPage->CheckBox7->isChecked();
}

bool TForm1::serverHexChecked() const {
    return gprsPage->terminal->CheckBox2->isChecked();
}

bool TForm1::clientHexChecked() const {
    return gprsPage->terminal->CheckBox6->isChecked();
}

int TForm1::addressIndex() const {
    return ComboBox4->currentIndex();
}

QStringList TForm1::portItems() const {
    QStringList items;
    for (int i = 0; i < ComboBox3->count(); ++i)
        items << ComboBox3->itemText(i);
    return items;
}

void TForm1::setPortItems(const QStringList& items) {
    ComboBox3->clear();
    ComboBox3->addItems(items);
    ComboBox3->setCurrentIndex(-1);
}

int TForm1::selectedPortIndex() const {
    return ComboBox3->currentIndex();
}

void TForm1::selectPort(int index) {
    ComboBox3->setCurrentIndex(index >= 0 && index < ComboBox3->count() ? index : -1);
}

void TForm1::setStatusText(const QString& text) {
    Memo1->setPlainText(text);
}

void TForm1::appendMonitorText(const QString& text) {
    QPlainTextEdit* memo = smsPage->Memo2;
    memo->moveCursor(QTextCursor::End);
    memo->insertPlainText(text);
    memo->moveCursor(QTextCursor::End);
}

void TForm1::showMonitor() {
    smsPage->Memo2->setVisible(true);
}

void TForm1::setConnectCaption(const QString& caption) {
    Button2->setText(caption);
}

void TForm1::setProgressRange(int minimum, int maximum) {
    ProgressBar1->setRange(minimum, maximum);
}

void TForm1::setProgress(int position) {
    ProgressBar1->setValue(position);
}

void TForm1::setProgressToMaximum() {
    ProgressBar1->setValue(ProgressBar1->maximum());
}

void TForm1::collapseTree() {
    infoPage->TreeView1->collapseAll();
}

void TForm1::showInfoTab() {
    PageControl1->setCurrentWidget(infoPage);
}

void TForm1::reportPortProblem(const QString& text) {
    statusBar()->showMessage(text);
}
