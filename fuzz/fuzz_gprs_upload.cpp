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
    // Every record was read from received bytes: 26 + 3n header bytes and 17 + 2n per record.
    const qsizetype perRecord = 17 + 2 * packet->channelCount;
    FUZZ_CHECK(24 + 3 * packet->channelCount + 2 + packet->records.size() * perRecord <= bytes.size());
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
