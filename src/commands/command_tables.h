#pragma once

// The lists of the settings commands and the number each item stands for on the wire. The
// same table fills a box and maps an answer back to its item (indexOfValue). The functions
// below a table say what an index outside it (the blank last item, typed text, nothing
// selected) sends.

#include "codec/value_tables.h"

#include <optional>

// Recording interval list of the recording parameters: the shared interval table
// (recordingIntervals(), "2秒" … "10天") followed by the item "...".
// Seconds sent for an item index; "..." and any other index send 864000 (ten days).
qint64 recordingIntervalSeconds(int index);


// GPRS recording interval, seconds: "0", "10秒" … "4天" (a blank item follows in the box).
const ValueTable& gprsRecordIntervals();
qint64 gprsRecordIntervalSeconds(int index); // 1800 outside the table

// GPRS upload interval, minutes: "1分钟" … "4小时" (a blank item follows).
const ValueTable& gprsUploadIntervals();
qint64 gprsUploadIntervalMinutes(int index); // 1 outside the table

// Power mode: the value is the item index; the blank item after the two sends 2.
const ValueTable& gprsPowerModes();
inline constexpr int GprsPowerSaving = 1;

// Records to print: "100" … "2000", "最大容量" (30000); a blank item follows.
const ValueTable& gprsPrintCounts();
qint64 gprsPrintCount(int index); // 100 outside the table
