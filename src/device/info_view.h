#pragma once

#include "codec/value_tables.h"

// Texts of the information tree and the selections it implies, built from the status
// record alone so they can be checked without a window.

#include "device/device_status.h"

#include <QString>
#include <QStringList>

#include <vector>

// One node of the tree skeleton; parent is the 1-based number of the parent node, 0 for a root.
struct InfoNode {
    int parent;
    QString text;
};

inline constexpr int InfoNodeCount = 17;
inline constexpr int InfoChannelRoot = 17;

// The 17 nodes shown before anything is connected, numbered 1..17 (element 0 is node 1).
const std::vector<InfoNode>& infoTreeSkeleton();

// Everything the tree shows after a connect response.
struct InfoViewTexts {
    QString address;      // node 2
    QString userName;     // node 3
    QString title;        // node 4
    QString model;        // node 5
    QString serialNumber; // node 6
    QString firmware;     // node 7, markers included
    QString capacity;     // node 9
    QString recordCount;  // node 10
    QString interval;     // node 11
    QString startTime;    // node 12
    QString startMode;    // node 13
    QString stopMode;     // node 14
    QString workState;    // node 15
    QString battery;      // node 16
    QString channelCount; // node 18
    QStringList channels; // nodes 19..
    QString firmwareNote; // the upgrade page's warning label
};

InfoViewTexts infoViewTexts(const DeviceStatus& s);

// recordCount / capacity in percent with two decimals; "0.00" for a capacity of 0.
QString fillPercentText(quint32 recordCount, quint32 capacity);
// Time until the memory is full at the current interval; "0" once it is full.
QString remainingDurationText(quint32 recordCount, quint32 capacity, quint32 recordInterval);
// The letters appended to the firmware version (series and build markers).
QString firmwareMarkers(const DeviceStatus& s);
// One channel line, values with that channel's decimals.
QString channelLineText(const DeviceStatus& s, int channelIndex);

// Item of the recording-interval list for an interval in seconds; -1 for an unlisted one.
int intervalItemIndex(quint32 seconds);
// Items of the start and stop mode lists for a mode text; -1 when the text is not a mode.
int startModeItemIndex(const QString& modeText);
int stopModeItemIndex(const QString& modeText);

// The status line after a connect response.
QString connectedStatusText(int address, qint64 roundTripMs);
