#include "history/history_table_model.h"

#include <QBrush>
#include <QColor>

HistoryTableModel::HistoryTableModel(QObject* parent) : QAbstractTableModel(parent) {}

int HistoryTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int HistoryTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant HistoryTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return text(index.row(), index.column());
    if (role == Qt::BackgroundRole && (index.row() == 0 || index.column() == 0))
        return QBrush(QColor(240, 240, 240));
    return {};
}

void HistoryTableModel::resize(int rows, int columns) {
    setColumns(QVector<QStringList>(qMax(0, columns)), rows);
}

void HistoryTableModel::setColumns(QVector<QStringList> columns, int rows) {
    beginResetModel();
    rows_ = qMax(0, rows);
    for (QStringList& c : columns)
        if (c.size() > rows_)
            c.erase(c.begin() + rows_, c.end());
    columns_ = std::move(columns);
    endResetModel();
}

void HistoryTableModel::setColumnCount(int columns) {
    columns = qMax(0, columns);
    if (columns == columns_.size())
        return;
    if (columns > columns_.size()) {
        beginInsertColumns({}, int(columns_.size()), columns - 1);
        columns_.resize(columns);
        endInsertColumns();
    } else {
        beginRemoveColumns({}, columns, int(columns_.size()) - 1);
        columns_.resize(columns);
        endRemoveColumns();
    }
}

void HistoryTableModel::appendRows(const QList<QStringList>& rows) {
    if (rows.isEmpty())
        return;
    beginInsertRows({}, rows_, rows_ + int(rows.size()) - 1);
    for (int c = 0; c < columns_.size(); ++c) {
        QStringList& column = columns_[c];
        while (column.size() < rows_)
            column.append(QString());
        for (const QStringList& row : rows)
            column.append(row.value(c));
    }
    rows_ += int(rows.size());
    endInsertRows();
}

void HistoryTableModel::setText(int row, int column, const QString& text) {
    if (row < 0 || row >= rows_ || column < 0 || column >= columns_.size())
        return;
    QStringList& c = columns_[column];
    while (c.size() <= row)
        c.append(QString());
    c[row] = text;
    const QModelIndex i = index(row, column);
    emit dataChanged(i, i, {Qt::DisplayRole});
}

QString HistoryTableModel::text(int row, int column) const {
    if (column < 0 || column >= columns_.size() || row < 0 || row >= rows_)
        return {};
    return columns_[column].value(row);
}
