#include "ui/receiver_page.h"

#include "ui/widget_factory.h"

#include <QGridLayout>
#include <QHBoxLayout>

ReceiverPage::ReceiverPage(const PageContext& context, QWidget* parent) : Page(context, "TabSheet7", parent) {
    GroupBox27 = makeGroup(this, "GroupBox27", QStringLiteral("接收机"));
    Label81 = makeLabel(GroupBox27, "Label81");
    Label79 = makeLabel(GroupBox27, "Label79");
    Edit31 = makeEdit(GroupBox27, "Edit31");
    Label80 = makeLabel(GroupBox27, "Label80");
    ComboBox21 = makeCombo(GroupBox27, "ComboBox21", true);
    Label82 = makeLabel(GroupBox27, "Label82");
    ComboBox22 = makeCombo(GroupBox27, "ComboBox22", true);
    Label83 = makeLabel(GroupBox27, "Label83");
    Button62 = makeButton(GroupBox27, "Button62", QStringLiteral("读取"));
    Button61 = makeButton(GroupBox27, "Button61", QStringLiteral("确定"));
    ComboBox11 = makeCombo(GroupBox27, "ComboBox11", true);
    Button74 = makeButton(GroupBox27, "Button74", QStringLiteral("确定"));
    Button73 = makeButton(GroupBox27, "Button73", QStringLiteral("配对"));
    Label62 = makeLabel(GroupBox27, "Label62");
    {
        auto* g = new QGridLayout(GroupBox27);
        g->addWidget(Label81, 0, 0, 1, 3);
        g->addWidget(Label79, 1, 0);
        g->addWidget(Edit31, 1, 1, 1, 2);
        g->addWidget(Label80, 2, 0);
        g->addWidget(ComboBox21, 2, 1, 1, 2);
        g->addWidget(Label82, 3, 0);
        g->addWidget(ComboBox22, 3, 1, 1, 2);
        g->addWidget(Label83, 4, 0, 1, 3);
        g->addWidget(Button62, 5, 1);
        g->addWidget(Button61, 5, 2);
        g->addWidget(ComboBox11, 6, 0, 1, 2);
        g->addWidget(Button74, 6, 2);
        g->addWidget(Button73, 7, 2);
        g->addWidget(Label62, 8, 0, 1, 3);
        g->setRowStretch(9, 1);
    }
    auto* h = new QHBoxLayout(this);
    h->addWidget(GroupBox27);
    h->addStretch(2);
}

void ReceiverPage::aComboboxInit() {
    QStringList frequencies;
    for (int f = 1; f <= 8; ++f)
        frequencies << QStringLiteral("频率") + QString::number(f);
    frequencies << QString();
    fillCombo(ComboBox11, frequencies, 8);
    fillCombo(ComboBox21,
              {QStringLiteral("1分钟"), QStringLiteral("2分钟"), QStringLiteral("5分钟"),
               QStringLiteral("10分钟"), QStringLiteral("20分钟"), QStringLiteral("30分钟"),
               QStringLiteral("1小时"), QStringLiteral("2小时"), QStringLiteral("3小时"),
               QStringLiteral("4小时"), QStringLiteral("5小时"), QStringLiteral("6小时"),
               QStringLiteral("12小时"), QStringLiteral("1天"), QString()},
              14);
    fillCombo(ComboBox22,
              {QStringLiteral("5分钟"), QStringLiteral("30分钟"), QStringLiteral("1小时"),
               QStringLiteral("2小时"), QStringLiteral("3小时"), QStringLiteral("4小时"),
               QStringLiteral("5小时"), QStringLiteral("6小时"), QStringLiteral("12小时"),
               QStringLiteral("1天"), QString()},
              10);
}

void ReceiverPage::aEditInit() {
    Edit31->clear();
}

void ReceiverPage::aLabelInit() {
    Label81->setText(QStringLiteral("记录容量       "));
    Label79->setText(QStringLiteral("卡片数量           "));
    Label80->setText(QStringLiteral("记录间隔         "));
    Label82->setText(QStringLiteral("超时时间        "));
    Label83->setText(QStringLiteral("注意：设置后，记录自动重启。                   "));
    Label62->setText(QStringLiteral("卡片进入HHHH后，点配对          "));
    setTextColor(Label62, Qt::blue);
}

void ReceiverPage::Button62Click() {
    // The receiver commands are not wired yet; the connect of a receiver still completes.
}
