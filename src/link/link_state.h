#pragma once

#include "codec/hex_text.h"

// The link's state for the whole run. Integer flags hold 0 or 1.
struct LinkState {
    HexText pendingCommand; // last command handed to aComSendStr by a builder; resent on time-out
    int retryCount = 0;     // resends so far; 10 forbids resending
    int monitorActive = 0;  // the instrument's monitor output is open: time-outs do nothing
    int tcpConnected = 0;
    int transmitterOp = 0; // 6 keeps the timer running when a transmitter frame arrives
    int connected = 0;
    int everConnected = 0; // keeps scanIndex between connects
    int autoReadChain = 0; // reads that follow a connect are running
    int scanIndex = 0;
    int scanCount = 0;
    int portCount = 0;
    quint32 sendTick = 0;
    quint32 receiveTick = 0;
    qint64 roundTripMs = 0;
    int bootMode = 0; // talking to the boot loader: received bytes go to its handler
    int restoreAfterUpgrade = 0;
    int portOpen = 0;
    int fragmentLength = 0;
    int followUpAction = 0; // step to take after the current response; 0 = none
    int responseTimeoutMs = 4096;
    int downloadActive = 0; // a history download is fetching packets
};

// Follow-up steps a response handler can ask for.
enum FollowUp {
    FollowNone = 0,
    FollowRestartRecording = 1,
    FollowReadTransmitter = 2,
    FollowKeepOpen = 3,
    FollowReadGprs = 4,
    FollowReadPhones = 5,
    FollowReadSmsTitle = 6,
    FollowSetClock = 7,
    FollowWriteModelSerial = 10,
    FollowWritePhones = 11,
    FollowWriteSmsTitle = 12,
    FollowWriteGprs = 13,
};
