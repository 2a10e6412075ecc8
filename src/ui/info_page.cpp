#include "ui/info_page.h"

#include "device/info_view.h"

#include <QPainter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QPixmap dot(const QColor& color) {
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter painter(&p);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(color);
    painter.setPen(color.darker(150));
    painter.drawEllipse(QRectF(3.5, 3.5, 9, 9));
    return p;
}

} // namespace

InfoPage::InfoPage(const PageContext& context, QWidget* parent) : Page(context, "TabSheet1", parent) {
    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setColumnCount(1);
    image0 = QIcon(dot(QColor(120, 120, 120)));
    image1 = QIcon(dot(QColor(0, 90, 220)));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(TreeView1);
}

QTreeWidgetItem* InfoPage::addNode(int parentNumber, const QString& text) {
    QTreeWidgetItem* parent = node(parentNumber);
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(TreeView1);
    item->setText(0, text);
    item->setIcon(0, image0);
    m_nodes.push_back(item);
    return item;
}

void InfoPage::aTreeInit() {
    TreeView1->clear();
    m_nodes.clear();
    for (const InfoNode& n : infoTreeSkeleton())
        addNode(n.parent, n.text);
    TreeView1->expandAll();
}

QTreeWidgetItem* InfoPage::node(int number) const {
    return number >= 1 && number <= int(m_nodes.size()) ? m_nodes[number - 1] : nullptr;
}

void InfoPage::showStatus(const DeviceStatus& s) {
    aTreeInit();
    const InfoViewTexts t = infoViewTexts(s);
    const std::pair<int, const QString*> texts[] = {
        {2, &t.address},    {3, &t.userName},  {4, &t.title},        {5, &t.model},     {6, &t.serialNumber},
        {7, &t.firmware},   {9, &t.capacity},  {10, &t.recordCount}, {11, &t.interval}, {12, &t.startTime},
        {13, &t.startMode}, {14, &t.stopMode}, {15, &t.workState},   {16, &t.battery}};
    for (const auto& [number, text] : texts)
        node(number)->setText(0, *text);
    addNode(InfoChannelRoot, t.channelCount);
    for (const QString& line : t.channels)
        addNode(InfoChannelRoot, line);

    QIcon shown;
    shown.addPixmap(image0.pixmap(16, 16), QIcon::Normal);
    shown.addPixmap(image1.pixmap(16, 16), QIcon::Selected);
    for (QTreeWidgetItem* item : m_nodes)
        item->setIcon(0, shown);
    TreeView1->expandAll();
}
