#include "history/history_grid.h"

#include <QHeaderView>

HistoryGrid::HistoryGrid(QWidget* parent) : QTableView(parent), model_(new HistoryTableModel(this)) {
    setModel(model_);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    // Fixed heights let the view place 100 000 rows without measuring each one.
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
}

void HistoryGrid::aStringGridInit() {
    verticalHeader()->setDefaultSectionSize(16);
    horizontalHeader()->setDefaultSectionSize(90);
    model_->resize(2, 10);
    setColumnWidth(0, 35);
    setColumnWidth(1, 120);
}
