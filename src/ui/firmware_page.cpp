#include "ui/firmware_page.h"

#include "ui/widget_factory.h"

#include <QGridLayout>
#include <QHBoxLayout>

FirmwarePage::FirmwarePage(const PageContext& context, QWidget* parent)
    : Page(context, "TabSheet11", parent) {
    GroupBox26 = makeGroup(this, "GroupBox26", QStringLiteral("固件升级"));
    Label50 = makeLabel(GroupBox26, "Label50");
    Edit41 = makeEdit(GroupBox26, "Edit41");
    Button70 = makeButton(GroupBox26, "Button70", QStringLiteral("选择固件"));
    Button69 = makeButton(GroupBox26, "Button69", QStringLiteral("开始 "));
    Label77 = makeLabel(GroupBox26, "Label77");
    Label77->setWordWrap(true);
    {
        auto* g = new QGridLayout(GroupBox26);
        g->addWidget(Label50, 0, 0, 1, 2);
        g->addWidget(Edit41, 1, 0);
        g->addWidget(Button70, 1, 1);
        g->addWidget(Button69, 2, 1);
        g->addWidget(Label77, 3, 0, 1, 2);
        g->setRowStretch(4, 1);
        g->setColumnStretch(0, 1);
    }
    auto* h = new QHBoxLayout(this);
    h->addWidget(GroupBox26, 2);
    h->addStretch(1);
}

void FirmwarePage::aLabelInit() {
    Label50->setText(QStringLiteral("注意：设备固件版本需带【S】           "));
    Label77->setText(QStringLiteral("升级步骤：\n"
                                    "1. 连接设备，在信息栏核对固件版本（须带 .S）；\n"
                                    "2. 点“选择固件”，选择与设备系列相符的固件文件；\n"
                                    "3. 点“开始”，升级期间不要断开设备或关闭程序；\n"
                                    "4. 升级完成后程序自动写回原有参数，请重新连接核对。"));
}
