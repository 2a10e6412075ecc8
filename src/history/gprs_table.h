#pragma once

// How GPRS uploads land in the history table: row 0 holds the latest upload's header, and the
// records of every upload go below whatever rows are there, numbered on from them.

#include "history/gprs_log.h"
#include "history/history_table_model.h"

// Appends the records of a decoded upload. The number shown in a record's first cell is the
// row count after the append less two, so under the start-up table (the header and one empty
// row) the first record is number 1. Returns the index of the last row.
int appendGprsUpload(HistoryTableModel& table, const GprsPacket& packet, const DeviceStatus& status);
