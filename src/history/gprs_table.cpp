#include "history/gprs_table.h"

int appendGprsUpload(HistoryTableModel& table, const GprsPacket& packet, const DeviceStatus& status) {
    const QStringList header = gprsHeader(packet);
    const int columnCount = int(header.size());
    // Row 0 is the header; the rows below it stay and the records go after them.
    if (table.rowCount() == 0)
        table.resize(1, columnCount);
    else
        table.setColumnCount(columnCount);
    for (int c = 0; c < columnCount; ++c)
        table.setText(0, c, header[c]);
    QList<QStringList> rows;
    int row = table.rowCount();
    for (const GprsRecord& record : packet.records) {
        rows << gprsRow(packet, record, row + 1 - 2, status);
        ++row;
    }
    table.appendRows(rows);
    return table.rowCount() - 1;
}
