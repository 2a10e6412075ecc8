#include "ui/gprs_page.h"

#include "codec/command_frame.h"
#include "commands/command_answers.h"
#include "commands/command_tables.h"
#include "commands/gprs_settings.h"
#include "link/link_port.h"
#include "ui/tcp_terminal.h"
#include "ui/widget_factory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

GprsPage::GprsPage(const PageContext& context, QWidget* parent) : Page(context, "TabSheet8", parent) {
    CheckBox3 = makeCheck(this, "CheckBox3", QStringLiteral("TCP/IP通讯         "));
    CheckBox5 = makeCheck(this, "CheckBox5", QStringLiteral("服务器模式"));
    terminal = new TcpTerminal(context, this, CheckBox5);

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
    switches->addWidget(terminal->Label51, 1, 0);
    switches->addWidget(terminal->Label31, 1, 1);
    left->addLayout(switches);
    left->addWidget(terminal->GroupBox13, 1);
    columns->addLayout(left, 1);
    columns->addWidget(terminal->GroupBox19, 1);
    columns->addWidget(GroupBox14, 1);

    connect(Button35, &QPushButton::clicked, this, &GprsPage::Button35Click);
    connect(Button34, &QPushButton::clicked, this, &GprsPage::Button34Click);
}

void GprsPage::aComboboxInit() {
    // Each list ends in a blank item: a read selects it first, so fields stay blank without an answer.
    fillCombo(ComboBox12, gprsUploadIntervals().texts() << QString(), 9);
    fillCombo(ComboBox13, gprsRecordIntervals().texts() << QString(), 1);
    fillCombo(ComboBox17, gprsPowerModes().texts() << QString(), 0);
    fillCombo(ComboBox20, gprsPrintCounts().texts() << QString(), 0);
}

void GprsPage::Button35Click() {
    IPEdit3->setText(QStringLiteral("0.0.0.0"));
    Edit17->clear();
    Edit18->clear();
    for (QComboBox* box : {ComboBox13, ComboBox12, ComboBox17, ComboBox20})
        box->setCurrentIndex(box->count() - 1);
    ComboBox20->setItemText(ComboBox20->count() - 1, QString());
    context().send(QStringLiteral("正在读取GPRS参数，请等待..."),
                   [this] { return buildReadGprs(context().address()); });
}

void GprsPage::Button34Click() {
    GprsSettingsEntry e;
    e.ipAddress = IPEdit3->text();
    e.port = Edit17->text();
    e.recordIntervalIndex = ComboBox13->findText(ComboBox13->currentText(), Qt::MatchExactly);
    e.powerModeIndex = ComboBox17->currentIndex();
    e.uploadIntervalIndex = ComboBox12->findText(ComboBox12->currentText(), Qt::MatchExactly);
    e.printCountIndex = ComboBox20->currentIndex();
    e.toHostName = RadioButton4->isChecked();
    e.hostName = Edit18->text();
    if (context().send(QStringLiteral("正在设置GPRS参数，请等待..."),
                       [&] { return buildSetGprs(context().address(), e); }))
        Edit18->setText(gprsHostNameText(e.hostName));
}

void GprsPage::showGprsSettings(const GprsSettings& g) {
    const QString ip = g.ipText();
    IPEdit3->setText(ip);
    terminal->IPEdit2->setText(ip);
    const QString port = QString::number(g.port);
    for (QLineEdit* e : {Edit17, terminal->Edit15, terminal->Edit1})
        e->setText(port);
    Edit18->setText(g.hostName);
    terminal->Edit28->setText(g.hostName);
    (g.toHostName() ? RadioButton4 : RadioButton3)->setChecked(true);
    (g.toHostName() ? terminal->RadioButton2 : terminal->RadioButton1)->setChecked(true);
    // Values outside the lists: the interval stays as it is, the upload interval goes blank,
    // the print count is shown as a number.
    const int interval = gprsRecordIntervals().indexOfValue(g.recordIntervalSeconds);
    if (interval >= 0)
        ComboBox13->setCurrentIndex(interval);
    ComboBox17->setCurrentIndex(g.powerMode == GprsPowerSaving ? GprsPowerSaving : 0);
    const int upload = gprsUploadIntervals().indexOfValue(g.uploadIntervalMinutes);
    ComboBox12->setCurrentIndex(upload >= 0 ? upload : ComboBox12->count() - 1);
    const int print = gprsPrintCounts().indexOfValue(g.printCount);
    // The list takes no typed text, so a count outside it is shown in the blank last item.
    if (print >= 0) {
        ComboBox20->setCurrentIndex(print);
    } else {
        ComboBox20->setItemText(ComboBox20->count() - 1, QString::number(g.printCount));
        ComboBox20->setCurrentIndex(ComboBox20->count() - 1);
    }
}

void GprsPage::registerResponses() {
    LinkPort& link = *context().link;
    link.registerHandler<GprsSettings>(Cmd::ReadGprs, decodeGprsSettings, [this](const GprsSettings& g) {
        context().answered();
        showGprsSettings(g);
        const HandlerStep step =
            chainStep(afterGprsRead(context().link->state().autoReadChain, context().gprsModel()));
        context().setStatusText(QStringLiteral("成功读取GPRS参数"));
        return step;
    });
    link.registerHandler<Acknowledgement>(Cmd::SetGprs, decodeAcknowledgement,
                                          [this](const Acknowledgement&) {
                                              context().answered(QStringLiteral("成功设置GPRS参数"));
                                              return HandlerStep{};
                                          });
    link.registerFollowUp(FollowReadGprs, [this] { Button35Click(); });
    link.registerFollowUp(FollowWriteGprs, [this] { Button34Click(); });
}

void GprsPage::aMemoInit() {
    terminal->aMemoInit();
}

void GprsPage::aLabelInit() {
    terminal->aLabelInit();
    Label34->setText(QStringLiteral("  端       口     "));
    Label36->setText(QStringLiteral("记录间隔    "));
    Label76->setText(QStringLiteral("上传间隔    "));
    Label59->setText(QStringLiteral("电源模式  "));
    Label64->setText(QStringLiteral("打印条数      "));
    Label78->setText(
        QStringLiteral("注意：默认配置下仪器按以下规则工作。\n"
                       "1. 记录间隔不大于1分钟时，打印间隔固定为5分钟；\n"
                       "2. 记录间隔大于2分钟时，超出报警限后每2分钟记录一次，恢复正常后回到原记录间隔；\n"
                       "3. 打印的数据须在已记录的历史数据范围内；\n"
                       "4. 固件版本低于129的仪器不支持上传间隔和打印条数的设置。"));
}

void GprsPage::aCheckboxInit() {
    terminal->aCheckboxInit();
}
