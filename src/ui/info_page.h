#pragma once

#include "ui/page.h"

#include <QIcon>

#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

// TabSheet1 "信息栏": the connected instrument's status as a tree.
class InfoPage : public Page {
    Q_OBJECT
public:
    explicit InfoPage(const PageContext& context, QWidget* parent = nullptr);

    // Clears the tree and builds the 17 nodes shown before a connect.
    void aTreeInit();
    // Rebuilds the tree and writes the status into it.
    void showStatus(const DeviceStatus& s);

    // Node by its 1-based number (channel lines follow the channel root from 18 on);
    // nullptr beyond the last node.
    QTreeWidgetItem* node(int number) const;
    int nodeCount() const { return int(m_nodes.size()); }

    QTreeWidget* TreeView1;
    // ImageList1: image 0 on every node, image 1 on the selected node after a display.
    QIcon image0, image1;

private:
    QTreeWidgetItem* addNode(int parentNumber, const QString& text);

    std::vector<QTreeWidgetItem*> m_nodes;
};
