#pragma once

// The history table's cells, kept as one list of texts per column: a full download of
// 100 001 records of eight channels is a million short strings, not a million items.
// Row 0 and column 0 are the grid's fixed (heading) row and column.

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

class HistoryTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit HistoryTableModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Empties every cell and sets the size.
    void resize(int rows, int columns);
    // Replaces the whole table: one list per column, every list rows long (shorter lists
    // read as empty cells below their end, longer ones are cut).
    void setColumns(QVector<QStringList> columns, int rows);
    // Changes the number of columns and keeps every cell that still fits.
    void setColumnCount(int columns);
    // Adds rows at the end, one list of cell texts per row (missing cells are empty).
    void appendRows(const QList<QStringList>& rows);
    // One cell; outside the table it does nothing.
    void setText(int row, int column, const QString& text);
    QString text(int row, int column) const;

private:
    QVector<QStringList> m_columns;
    int m_rows = 0;
};
