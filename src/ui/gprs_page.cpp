#include "ui/gprs_page.h"

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
    terminal->aMemoInit();
}

void GprsPage::aLabelInit() {
    terminal->aLabelInit();
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
    terminal->aCheckboxInit();
}
