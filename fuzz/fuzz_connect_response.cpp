// A connect response of any content: decoded into the status record, then every text of the
// information view made from it.

#include "device/device_status.h"
#include "device/info_view.h"
#include "fuzz_check.h"

#include <QByteArrayView>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const QByteArrayView frame(reinterpret_cast<const char*>(data), qsizetype(size));
    // Twice: the second decode keeps fields of the first that the frame does not set.
    const LogStateResult first = aLogStateAnalyze(frame, DeviceStatus{});
    const LogStateResult second = aLogStateAnalyze(frame.first(frame.size() / 2), first.status);
    for (const DeviceStatus& s : {first.status, second.status}) {
        FUZZ_CHECK(s.decodedChannelCount() >= 0 && s.decodedChannelCount() <= MaxChannels);
        const InfoViewTexts t = infoViewTexts(s);
        FUZZ_CHECK(t.channels.size() == s.decodedChannelCount());
        FUZZ_CHECK(!t.capacity.isEmpty() && !t.recordCount.isEmpty() && !t.interval.isEmpty());
        for (int k = -1; k <= MaxChannels; ++k)
            channelLineText(s, k);
        intervalItemIndex(s.recordInterval);
        startModeItemIndex(s.startModeText);
        stopModeItemIndex(s.stopModeText);
    }
    return 0;
}
