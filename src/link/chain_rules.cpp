#include "link/chain_rules.h"

#include "link/link_state.h"

namespace {
ChainStep step(int autoRead, bool condition, int next) {
    if (!autoRead)
        return {FollowNone, 0};
    return condition ? ChainStep{next, 1} : ChainStep{FollowNone, 0};
}
} // namespace

ChainStep afterConnect(int autoRead, int startTimeUnset) {
    return step(autoRead, startTimeUnset == 1, FollowSetClock);
}
ChainStep afterClockSet(int autoRead, bool gprsModel) {
    return step(autoRead, gprsModel, FollowReadGprs);
}
ChainStep afterGprsRead(int autoRead, bool gprsModel) {
    return step(autoRead, gprsModel, FollowReadPhones);
}
ChainStep afterPhonesRead(int autoRead, bool gprsModel, int firmwareNumber) {
    return step(autoRead, gprsModel && firmwareNumber > 89, FollowReadSmsTitle);
}
ChainStep afterSmsTitleRead(int) {
    return {FollowNone, 0};
}

int afterRecordingParamsSet(int restoreAfterUpgrade) {
    return restoreAfterUpgrade == 1 ? FollowWriteModelSerial : FollowRestartRecording;
}
int afterModelSerialSet(int restoreAfterUpgrade, bool gprsModel) {
    return restoreAfterUpgrade == 1 && gprsModel ? FollowWritePhones : FollowNone;
}
int afterPhonesSet(int restoreAfterUpgrade) {
    return restoreAfterUpgrade == 1 ? FollowWriteSmsTitle : FollowNone;
}
int afterSmsTitleSet(int restoreAfterUpgrade, bool gprsModel) {
    return restoreAfterUpgrade == 1 && gprsModel ? FollowWriteGprs : FollowNone;
}
