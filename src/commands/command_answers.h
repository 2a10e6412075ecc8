#pragma once

// Decoders of the answers that several settings commands share. Each takes the whole received
// frame (0xBB at byte 0, the code at byte 2, the payload from byte 5, sum and 0xDD last). A
// field beyond the payload reads as 0.

#include <QByteArrayView>

// An answer whose only field is a result byte:
//   5  result, 0x01 success; anything else (or a missing byte) failure
struct CommandResult {
    bool success = false;
};
CommandResult decodeCommandResult(QByteArrayView frame);

// An answer whose payload is not read: the frame itself is the confirmation.
struct Acknowledgement {
    quint8 code = 0;
};
Acknowledgement decodeAcknowledgement(QByteArrayView frame);
