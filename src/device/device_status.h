#pragma once

// The connected instrument's status, decoded from the connect response (code 0x01).
//
// Connect response layout (offsets from the 0xBB start byte, numbers low byte first):
//     1 address            5 record count (u32)   14 work state      16 start time (6 BCD)
//    32 interval s (u32)  36 start mode          37 stop mode        40 user name (20)
//    60 title (20)        80 model (10)          90 serial number (10)
//   100 timed start (6 BCD)                     106 timed stop (6 BCD)
//   112 capacity (u32)   116 firmware (BCD)     117 firmware number  118 battery
//   120 download speed   121 upgradable         122 0x0A = wireless receiver
//   123 firmware series  124 T marker  125 feature flags  126 P number  127 feature flags 2
//   128 channel count    129 + 12k channel k:
//        0 alarm low (s16)  2 alarm high (s16)  4 alarm switch  5 range low (s16)
//        7 range high (s16) 9 kind  10 unit  11 decimals code

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>

inline constexpr int MaxChannels = 8;

struct ChannelParams {
    int alarmLow = 0;
    int alarmHigh = 0;
    int alarmSwitch = 0;
    int rangeLow = 0;
    int rangeHigh = 0;
    int kind = 0;
    int unit = 0;
    int decimalsCode = 0;
};

using TimeFields = std::array<int, 6>; // yy, MM, dd, hh, mm, ss

struct DeviceStatus {
    int address = 0;
    QByteArray userName;     // 20 bytes as received, zeros included
    QByteArray title;        // 20 bytes as received
    QByteArray model;        // 10 bytes as received; written back unchanged
    QByteArray serialNumber; // the non-zero bytes of the field
    QString firmwareText;
    QString firmwareNumberText;
    quint32 recordCount = 0;
    quint32 capacity = 0;
    quint32 recordInterval = 0;
    QString startModeText;
    QString stopModeText;
    QString workStateText;
    QString batteryText;
    int downloadBaudRate = 9600;
    int upgradable = 0;
    int markT = 0;
    int firmwareSeries = 0;
    int featureFlags = 0;
    int featureFlags2 = 0;
    int pNumber = 0;
    TimeFields startTime{};
    TimeFields timedStartTime{};
    TimeFields timedStopTime{};
    int channelCount = 0; // as announced; may exceed the slots below
    std::array<ChannelParams, MaxChannels> channels{};
    int startTimeUnset = 0;
    int timestampedRecords = 0;

    // Channels that were actually decoded: the announced count, at most the eight slots.
    int decodedChannelCount() const;
    // firmwareText as a number for the firmware tests; 0 when it is not decimal.
    int firmwareNumber() const;
    // The model text begins with "G" (GPRS instruments).
    bool isGprsModel() const;
};

struct LogStateResult {
    DeviceStatus status;
    bool isReceiver = false; // byte 122 is 0x0A: read the receiver parameters next
};

// Decodes a connect response. Fields the frame does not set keep the values of previous:
// channels beyond the announced count, and time values after a byte that is not BCD.
// Bytes beyond the frame read as 0.
LogStateResult aLogStateAnalyze(QByteArrayView frame, const DeviceStatus& previous);

// Display texts of the mode, state and battery codes ("数据错误" for unknown codes).
QString startModeName(int code);
QString stopModeName(int code);
QString workStateName(int code);
QString batteryName(int code);
