#include "history/history_store.h"

HistoryStore::HistoryStore() : values(HistoryCapacity), stamps(HistoryCapacity) {}

HistoryStatistics HistoryStore::statistics() const {
    return {statMin, statMax, statAvg, statCount, statSum};
}

void HistoryStore::setStatistics(const HistoryStatistics& s) {
    statMin = s.statMin;
    statMax = s.statMax;
    statAvg = s.statAvg;
    statCount = s.statCount;
    statSum = s.statSum;
}

int HistoryStore::storedRecordCount() const {
    return qBound(0, downloadCount, HistoryCapacity);
}
