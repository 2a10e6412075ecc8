#include "ui/history_pages.h"

#include "history_view/history_grid.h"
#include "history_view/history_plot.h"

#include <QVBoxLayout>

HistoryTablePage::HistoryTablePage(const PageContext& context, QWidget* parent)
    : Page(context, "TabSheet5", parent) {
    StringGrid2 = new HistoryGrid(this);
    StringGrid2->setObjectName(QStringLiteral("StringGrid2"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(StringGrid2);
}

HistoryCurvePage::HistoryCurvePage(const PageContext& context, QWidget* parent)
    : Page(context, "TabSheet6", parent) {
    Plot1 = new HistoryPlot(this);
    Plot1->setObjectName(QStringLiteral("Plot1"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Plot1);
}
