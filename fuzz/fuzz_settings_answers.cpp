// Answers to the settings commands of any content, through their decoders; what a decoder gives
// back must be writable again where the instrument's settings are written back.

#include "commands/command_answers.h"
#include "commands/gprs_settings.h"
#include "commands/identity_commands.h"
#include "commands/recording_commands.h"
#include "core/gbk_text.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const QByteArrayView frame(reinterpret_cast<const char*>(data), qsizetype(size));
    decodeCommandResult(frame);
    decodeAcknowledgement(frame);
    decodeAddressAnswer(frame);
    decodeBatteryLevel(frame);
    const StartDelay delay = decodeStartDelay(frame);
    FUZZ_CHECK(delay.seconds >= -32767 && delay.seconds <= 65535);
    const GprsSettings g = decodeGprsSettings(frame);
    FUZZ_CHECK(stringToGbk(g.hostName).size() <= 30);
    for (int part : g.ip)
        FUZZ_CHECK(part >= 0 && part <= 255);
    return 0;
}
