#include "history_view/history_grid.h"

#include <QHeaderView>
#include <QStyledItemDelegate>

namespace {

// The heading row and column look fixed, as in a string grid.
class HeadingShade : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.row() == 0 || index.column() == 0)
            option->backgroundBrush = QBrush(QColor(240, 240, 240));
    }
};

} // namespace

HistoryGrid::HistoryGrid(QWidget* parent) : QTableView(parent), m_model(new HistoryTableModel(this)) {
    setModel(m_model);
    setItemDelegate(new HeadingShade(this));
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
    m_model->resize(2, 10);
    setColumnWidth(0, 35);
    setColumnWidth(1, 120);
}
