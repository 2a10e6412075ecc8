#include "ui/sms_page.h"

#include "ui/widget_factory.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

SmsPage::SmsPage(const PageContext& context, QWidget* parent) : Page(context, "TabSheet4", parent) {
    GroupBox3 = makeGroup(this, "GroupBox3", QStringLiteral("短信参数（针对短信或GPRS设备）"));
    Label4 = makeLabel(GroupBox3, "Label4");
    Edit2 = makeEdit(GroupBox3, "Edit2");
    Label5 = makeLabel(GroupBox3, "Label5");
    Edit4 = makeEdit(GroupBox3, "Edit4");
    Label6 = makeLabel(GroupBox3, "Label6");
    Edit5 = makeEdit(GroupBox3, "Edit5");
    Button7 = makeButton(GroupBox3, "Button7", QStringLiteral("读取 "));
    Button8 = makeButton(GroupBox3, "Button8", QStringLiteral("确定 "));
    Label53 = makeLabel(GroupBox3, "Label53");
    Edit21 = makeEdit(GroupBox3, "Edit21");
    Button58 = makeButton(GroupBox3, "Button58", QStringLiteral("  读取  "));
    Button57 = makeButton(GroupBox3, "Button57", QStringLiteral("确定   "));
    {
        auto* g = new QGridLayout(GroupBox3);
        g->addWidget(Label4, 0, 0);
        g->addWidget(Edit2, 0, 1, 1, 2);
        g->addWidget(Label5, 1, 0);
        g->addWidget(Edit4, 1, 1, 1, 2);
        g->addWidget(Label6, 2, 0);
        g->addWidget(Edit5, 2, 1, 1, 2);
        g->addWidget(Button7, 3, 1);
        g->addWidget(Button8, 3, 2);
        g->addWidget(Label53, 4, 0, 1, 3);
        g->addWidget(Edit21, 5, 0, 1, 3);
        g->addWidget(Button58, 6, 1);
        g->addWidget(Button57, 6, 2);
    }

    GroupBox11 = makeGroup(this, "GroupBox11", QStringLiteral("短信主机"));
    Label26 = makeLabel(GroupBox11, "Label26");
    Edit36 = makeEdit(GroupBox11, "Edit36");
    Label27 = makeLabel(GroupBox11, "Label27");
    Edit37 = makeEdit(GroupBox11, "Edit37");
    Label29 = makeLabel(GroupBox11, "Label29");
    Edit38 = makeEdit(GroupBox11, "Edit38");
    Label73 = makeLabel(GroupBox11, "Label73");
    Label72 = makeLabel(GroupBox11, "Label72");
    Edit39 = makeEdit(GroupBox11, "Edit39");
    Label74 = makeLabel(GroupBox11, "Label74");
    Button25 = makeButton(GroupBox11, "Button25", QStringLiteral("读取"));
    Button26 = makeButton(GroupBox11, "Button26", QStringLiteral("确定"));
    {
        auto* g = new QGridLayout(GroupBox11);
        g->addWidget(Label26, 0, 0);
        g->addWidget(Edit36, 0, 1);
        g->addWidget(Label27, 1, 0);
        g->addWidget(Edit37, 1, 1);
        g->addWidget(Label29, 2, 0);
        g->addWidget(Edit38, 2, 1);
        g->addWidget(Label73, 2, 2);
        g->addWidget(Label72, 3, 0);
        g->addWidget(Edit39, 3, 1);
        g->addWidget(Label74, 3, 2);
        g->addWidget(Button25, 4, 1);
        g->addWidget(Button26, 4, 2);
    }

    GroupBox12 = makeGroup(this, "GroupBox12", QStringLiteral("串口监测"));
    Memo2 = makeMemo(GroupBox12, "Memo2");
    Button22 = makeButton(GroupBox12, "Button22", QStringLiteral("打开监测"));
    Button23 = makeButton(GroupBox12, "Button23", QStringLiteral("关闭监测"));
    Button24 = makeButton(GroupBox12, "Button24", QStringLiteral("清空"));
    CheckBox7 = makeCheck(GroupBox12, "CheckBox7", QStringLiteral("hex   "));
    {
        auto* v = new QVBoxLayout(GroupBox12);
        v->addWidget(Memo2, 1);
        auto* h = new QHBoxLayout;
        for (QWidget* w : std::initializer_list<QWidget*>{Button22, Button23, Button24, CheckBox7})
            h->addWidget(w);
        v->addLayout(h);
    }

    GroupBox21 = makeGroup(this, "GroupBox21", QStringLiteral("短信声光测试（只针对短信声光报警器）"));
    Memo7 = makeMemo(GroupBox21, "Memo7");
    Label48 = makeLabel(GroupBox21, "Label48");
    Edit20 = makeEdit(GroupBox21, "Edit20");
    Button54 = makeButton(GroupBox21, "Button54", QStringLiteral("打开声光"));
    Button55 = makeButton(GroupBox21, "Button55", QStringLiteral("关闭声光"));
    Button56 = makeButton(GroupBox21, "Button56", QStringLiteral("发送短信 "));
    Button71 = makeButton(GroupBox21, "Button71", QStringLiteral("清空"));
    Label49 = makeLabel(GroupBox21, "Label49");
    {
        auto* v = new QVBoxLayout(GroupBox21);
        v->addWidget(Memo7, 1);
        auto* phone = new QHBoxLayout;
        phone->addWidget(Label48);
        phone->addWidget(Edit20, 1);
        v->addLayout(phone);
        auto* h = new QHBoxLayout;
        for (QWidget* w : std::initializer_list<QWidget*>{Button54, Button55, Button56, Button71})
            h->addWidget(w);
        v->addLayout(h);
        v->addWidget(Label49);
    }

    auto* columns = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(GroupBox3);
    left->addWidget(GroupBox11);
    left->addStretch(1);
    columns->addLayout(left, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(GroupBox12, 1);
    right->addWidget(GroupBox21, 1);
    columns->addLayout(right, 1);
}

void SmsPage::aMemoInit() {
    for (QPlainTextEdit* m : {Memo2, Memo7})
        giveVerticalScrollBar(m);
    Memo2->clear();
    Memo7->setPlainText(QStringLiteral("短信内容，不能大于70个字"));
    Memo2->setFont(statusFont());
    setTextColor(Memo2, Qt::blue);
}

void SmsPage::aEditInit() {
    for (QLineEdit* e : {Edit2, Edit4, Edit5}) {
        e->clear();
        limitGbkBytes(e, 11);
    }
    Edit21->clear();
}

void SmsPage::aLabelInit() {
    Label4->setText(QStringLiteral("手机号码1    "));
    Label5->setText(QStringLiteral("手机号码2    "));
    Label6->setText(QStringLiteral("手机号码3    "));
    Label53->setText(QStringLiteral("短信标题【<=10 字、固件版本>=9.0】         "));
    Label26->setText(QStringLiteral("从机数量     "));
    Label27->setText(QStringLiteral("起始地址  "));
    Label29->setText(QStringLiteral("报警间隔      "));
    Label73->setText(QStringLiteral("分钟    "));
    Label72->setText(QStringLiteral("等待时间  "));
    Label74->setText(QStringLiteral("分钟     "));
    Label48->setText(QStringLiteral("手机号码       "));
    Label49->setText(QStringLiteral("测试需先打开监测，发送间隔需>10秒          "));
    setTextColor(Label49, Qt::blue);
}

void SmsPage::aLinkedIni() {
    for (QLineEdit* e : {Edit36, Edit37, Edit38, Edit39})
        e->clear();
}
