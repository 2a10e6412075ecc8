#include "ui/transmitter_page.h"
#include "codec/value_tables.h"

#include "ui/widget_factory.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

TransmitterPage::TransmitterPage(const PageContext& context, QWidget* parent)
    : Page(context, "TabSheet9", parent) {
    GroupBox15 = makeGroup(this, "GroupBox15", QStringLiteral("变送器记录参数"));
    Button46 = makeButton(GroupBox15, "Button46", QStringLiteral("读取记录参数  "));
    Label33 = makeLabel(GroupBox15, "Label33");
    Button50 = makeButton(GroupBox15, "Button50", QStringLiteral("同步时间"));
    Button49 = makeButton(GroupBox15, "Button49", QStringLiteral("重启记录"));
    Label38 = makeLabel(GroupBox15, "Label38");
    ComboBox14 = makeCombo(GroupBox15, "ComboBox14", true);
    Button48 = makeButton(GroupBox15, "Button48", QStringLiteral("确定"));
    Label37 = makeLabel(GroupBox15, "Label37");
    Edit14 = makeEdit(GroupBox15, "Edit14");
    Button47 = makeButton(GroupBox15, "Button47", QStringLiteral("确定"));
    Label52 = makeLabel(GroupBox15, "Label52");
    {
        auto* g = new QGridLayout(GroupBox15);
        g->addWidget(Button46, 0, 0);
        g->addWidget(Label33, 0, 1, 1, 2);
        g->addWidget(Button50, 1, 0);
        g->addWidget(Button49, 1, 1);
        g->addWidget(Label38, 2, 0);
        g->addWidget(ComboBox14, 2, 1);
        g->addWidget(Button48, 2, 2);
        g->addWidget(Label37, 3, 0);
        g->addWidget(Edit14, 3, 1);
        g->addWidget(Button47, 3, 2);
        g->addWidget(Label52, 4, 0, 1, 3);
        g->setRowStretch(5, 1);
    }

    GroupBox18 = makeGroup(this, "GroupBox18", QStringLiteral("报警参数（KV-M系列变送器）"));
    ComboBox16 = makeCombo(GroupBox18, "ComboBox16");
    RadioButton5 = makeRadio(GroupBox18, "RadioButton5", QStringLiteral("打开"));
    RadioButton6 = makeRadio(GroupBox18, "RadioButton6", QStringLiteral("关闭   "));
    Label46 = makeLabel(GroupBox18, "Label46");
    Edit16 = makeEdit(GroupBox18, "Edit16");
    Label47 = makeLabel(GroupBox18, "Label47");
    Edit19 = makeEdit(GroupBox18, "Edit19");
    Button53 = makeButton(GroupBox18, "Button53", QStringLiteral("读取"));
    Button52 = makeButton(GroupBox18, "Button52", QStringLiteral("确定"));
    Label75 = makeLabel(GroupBox18, "Label75");
    Edit40 = makeEdit(GroupBox18, "Edit40");
    Button27 = makeButton(GroupBox18, "Button27", QStringLiteral("读取"));
    Button68 = makeButton(GroupBox18, "Button68", QStringLiteral("确定 "));
    {
        auto* g = new QGridLayout(GroupBox18);
        g->addWidget(ComboBox16, 0, 0);
        g->addWidget(RadioButton5, 0, 1);
        g->addWidget(RadioButton6, 0, 2);
        g->addWidget(Label46, 1, 0);
        g->addWidget(Edit16, 1, 1, 1, 2);
        g->addWidget(Label47, 2, 0);
        g->addWidget(Edit19, 2, 1, 1, 2);
        g->addWidget(Button53, 3, 1);
        g->addWidget(Button52, 3, 2);
        g->addWidget(Label75, 4, 0, 1, 3);
        g->addWidget(Edit40, 5, 0, 1, 3);
        g->addWidget(Button27, 6, 1);
        g->addWidget(Button68, 6, 2);
        g->setRowStretch(7, 1);
    }

    GroupBox20 = makeGroup(this, "GroupBox20", QStringLiteral("实时数据"));
    Button51 = makeButton(GroupBox20, "Button51", QStringLiteral("读取实时数据"));
    Label39 = makeLabel(GroupBox20, "Label39");
    Label39->setWordWrap(true);
    {
        auto* v = new QVBoxLayout(GroupBox20);
        v->addWidget(Button51);
        v->addWidget(Label39);
        v->addStretch(1);
    }

    auto* columns = new QHBoxLayout(this);
    columns->addWidget(GroupBox15, 1);
    columns->addWidget(GroupBox18, 1);
    columns->addWidget(GroupBox20, 1);
}

void TransmitterPage::aComboboxInit() {
    fillCombo(ComboBox14, recordingIntervals().texts() << QString(), 19);
    QStringList channels;
    for (int k = 1; k <= 8; ++k)
        channels << QStringLiteral("通道") + QString::number(k);
    fillCombo(ComboBox16, channels, 0);
}

void TransmitterPage::aLabelInit() {
    Label33->setText(QStringLiteral("记录条数              "));
    Label38->setText(QStringLiteral("记录间隔  "));
    Label37->setText(QStringLiteral("记录容量  "));
    Label52->setText(QStringLiteral("设置间隔和容量会重启记录            "));
    setTextColor(Label52, Qt::blue);
    Label46->setText(QStringLiteral("报警下限   "));
    Label47->setText(QStringLiteral("报警上限   "));
    Label75->setText(QStringLiteral("短信标题【<=10 字、固件版本>=9.0】         "));
    Label39->setText(QStringLiteral("实时数据区    "));
}
