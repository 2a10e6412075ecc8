#pragma once

// Decisions of the two command chains: the reads that follow a connect and the write-back of
// settings after a firmware upgrade. Handlers call these and store the result.

struct ChainStep {
    int followUpAction; // 0 ends the chain
    int autoReadChain;  // the flag after this response
};

// Reads after a connect. When autoRead is 0 no step starts and the flag stays 0.
ChainStep afterConnect(int autoRead, int startTimeUnset);
ChainStep afterClockSet(int autoRead, bool gprsModel);
ChainStep afterGprsRead(int autoRead, bool gprsModel);
ChainStep afterPhonesRead(int autoRead, bool gprsModel, int firmwareNumber);
ChainStep afterSmsTitleRead(int autoRead);

// Write-back after an upgrade; setting the recording parameters otherwise restarts recording.
int afterRecordingParamsSet(int restoreAfterUpgrade);
int afterModelSerialSet(int restoreAfterUpgrade, bool gprsModel);
int afterPhonesSet(int restoreAfterUpgrade);
int afterSmsTitleSet(int restoreAfterUpgrade, bool gprsModel);
