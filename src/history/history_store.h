#pragma once

// The downloaded history: the header of the current download, its records and the statistics of
// the last decoding. The window owns one store for the whole run; a download overwrites the
// header and the records it receives and nothing is cleared in between, so only the first
// downloadCount records belong to the current download.

#include "device/device_status.h"

#include <QtGlobal>

#include <array>
#include <vector>

// Records a download can hold: indices 0 … 100 000.
inline constexpr int HistoryCapacity = 100001;

// A record's own time: year mod 100, month, day, hour, minute, second.
struct RecordStamp {
    qint32 year = 0;
    qint32 month = 0;
    qint32 day = 0;
    qint32 hour = 0;
    qint32 minute = 0;
    qint32 second = 0;

    friend bool operator==(const RecordStamp& a, const RecordStamp& b) {
        return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
               a.minute == b.minute && a.second == b.second;
    }
    friend bool operator!=(const RecordStamp& a, const RecordStamp& b) { return !(a == b); }
};

using ChannelValues = std::array<qint32, MaxChannels>;

// Per-channel statistics over the numeric values of one decoding (markers take no part).
struct HistoryStatistics {
    std::array<qint32, MaxChannels> statMin{};
    std::array<qint32, MaxChannels> statMax{};
    std::array<qint32, MaxChannels> statAvg{}; // rounded to the channel's resolution
    std::array<qint32, MaxChannels> statCount{};
    std::array<qint64, MaxChannels> statSum{};
};

struct HistoryStore {
    // Both tables are allocated once, zero-filled, and never resized: every index below
    // HistoryCapacity is valid for the life of the store.
    HistoryStore();
    // 5.6 MB of records: a copy is never what a caller means, and a moved-from store would
    // break the promise above.
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    qint32 packetCount = 0;
    qint32 downloadCount = 0;
    qint32 recordSize = 0;
    qint32 recordsPerPacket = 0;
    qint32 recordedTotal = 0; // logger downloads only
    qint32 downloadActive = 0;
    qint32 transmitterLayout = 0; // 0, 1 or 2
    qint32 transmitterChannels = 0;
    qint32 nextPacket = 0;

    std::vector<ChannelValues> values; // [record][channel], HistoryCapacity rows
    std::vector<RecordStamp> stamps;   // HistoryCapacity entries

    std::array<qint32, MaxChannels> statMin{};
    std::array<qint32, MaxChannels> statMax{};
    std::array<qint32, MaxChannels> statAvg{};
    std::array<qint32, MaxChannels> statCount{};
    std::array<qint64, MaxChannels> statSum{};

    HistoryStatistics statistics() const;
    void setStatistics(const HistoryStatistics& s);

    // Records of the current download that the store holds: downloadCount within 0 … capacity.
    int storedRecordCount() const;
};
