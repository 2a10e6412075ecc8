#pragma once

// The history table StringGrid2: a plain table view over HistoryTableModel that looks
// like a string grid (its heading row and column are ordinary cells).

#include "history/history_table_model.h"

#include <QTableView>

class HistoryGrid : public QTableView {
    Q_OBJECT
public:
    explicit HistoryGrid(QWidget* parent = nullptr);

    // Start-up geometry: 10 columns, 2 rows, rows 16 high, columns 90 wide except the
    // number column (35) and the time column (120).
    void aStringGridInit();

    HistoryTableModel* table() const { return m_model; }

private:
    HistoryTableModel* m_model;
};
