// A GPRS upload of any content: its sum check, its decoding, its header and row texts, and its
// records appended to a table.

#include "fuzz_check.h"
#include "history/gprs_log.h"
#include "history/gprs_table.h"

#include <QByteArrayView>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    hasGprsUploadSum(bytes);
    const std::optional<GprsPacket> packet = aDecodeGprsPacket(bytes);
    if (!packet)
        return 0;
    FUZZ_CHECK(packet->channelCount >= 0 && packet->channelCount <= MaxChannels);
    // Every record was read from received bytes: 26 + 3n header bytes and 17 + 2n per record, n
    // being the announced channel count (only the first eight are shown, all are skipped over).
    const qsizetype announced = bytes.size() > 23 ? quint8(bytes[23]) : 0;
    const qsizetype perRecord = 17 + 2 * announced;
    if (!packet->records.isEmpty())
        FUZZ_CHECK(26 + 3 * announced + packet->records.size() * perRecord <= bytes.size());
    const QStringList header = gprsHeader(*packet);
    DeviceStatus status;
    int n = 1;
    for (const GprsRecord& r : packet->records)
        FUZZ_CHECK(gprsRow(*packet, r, n++, status).size() == header.size());
    HistoryTableModel table;
    table.resize(2, 10);
    const int last = appendGprsUpload(table, *packet, status);
    FUZZ_CHECK(last == table.rowCount() - 1);
    FUZZ_CHECK(table.rowCount() == 2 + packet->records.size());
    return 0;
}
