#include "commands/command_answers.h"

#include "codec/command_frame.h"
#include "commands/command_payload.h"

CommandResult decodeCommandResult(QByteArrayView frame) {
    return {aBufU8(payload::fieldArea(frame), 5) == 0x01};
}

Acknowledgement decodeAcknowledgement(QByteArrayView frame) {
    return {frameCode(frame)};
}
