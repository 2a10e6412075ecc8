#include "history/history_table_model.h"

HistoryTableModel::HistoryTableModel(QObject* parent) : QAbstractTableModel(parent) {}

int HistoryTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int HistoryTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant HistoryTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return text(index.row(), index.column());
    return {};
}

void HistoryTableModel::resize(int rows, int columns) {
    setColumns(QVector<QStringList>(qMax(0, columns)), rows);
}

void HistoryTableModel::setColumns(QVector<QStringList> columns, int rows) {
    beginResetModel();
    m_rows = qMax(0, rows);
    for (QStringList& c : columns)
        if (c.size() > m_rows)
            c.erase(c.begin() + m_rows, c.end());
    m_columns = std::move(columns);
    endResetModel();
}

void HistoryTableModel::setColumnCount(int columns) {
    columns = qMax(0, columns);
    if (columns == m_columns.size())
        return;
    if (columns > m_columns.size()) {
        beginInsertColumns({}, int(m_columns.size()), columns - 1);
        m_columns.resize(columns);
        endInsertColumns();
    } else {
        beginRemoveColumns({}, columns, int(m_columns.size()) - 1);
        m_columns.resize(columns);
        endRemoveColumns();
    }
}

void HistoryTableModel::appendRows(const QList<QStringList>& rows) {
    if (rows.isEmpty())
        return;
    beginInsertRows({}, m_rows, m_rows + int(rows.size()) - 1);
    for (int c = 0; c < m_columns.size(); ++c) {
        QStringList& column = m_columns[c];
        while (column.size() < m_rows)
            column.append(QString());
        for (const QStringList& row : rows)
            column.append(row.value(c));
    }
    m_rows += int(rows.size());
    endInsertRows();
}

void HistoryTableModel::setText(int row, int column, const QString& text) {
    if (row < 0 || row >= m_rows || column < 0 || column >= m_columns.size())
        return;
    QStringList& c = m_columns[column];
    while (c.size() <= row)
        c.append(QString());
    c[row] = text;
    const QModelIndex i = index(row, column);
    emit dataChanged(i, i, {Qt::DisplayRole});
}

QString HistoryTableModel::text(int row, int column) const {
    if (column < 0 || column >= m_columns.size() || row < 0 || row >= m_rows)
        return {};
    return m_columns[column].value(row);
}
