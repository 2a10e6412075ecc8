#pragma once

// Identity commands: model designation and serial number, the instrument address, factory
// settings. Builders return the command text; entries that cannot be sent throw EntryRefused
// (see entry_refused.h). `address` is the frame's address byte, 0 … 255.
//
// Answers: 0x0B → decodeAcknowledgement, 0x04 → decodeAddressAnswer, 0x14 → decodeCommandResult.

#include "codec/hex_text.h"
#include "commands/command_answers.h"

#include <QString>

// Model designation and serial number, code 0x0B, 20 payload bytes:
//    5  model, GBK, zero bytes up to 10
//   15  serial number, GBK, zero bytes up to 10
// Either text above 10 bytes is refused (EntryField::Model / SerialNumber).
struct ModelSerial {
    QString model;        // the model box's text
    QString serialNumber; // the serial-number box's text
};
HexText buildModelSerial(int address, const ModelSerial& entry);

// New address, code 0x04, 1 payload byte:
//    5  new address
// An index outside 0 … 255 (typed text that selects no item) is refused (EntryField::NewAddress).
// The instrument moves at once; later commands still go to the caller's address until it changes.
HexText buildSetAddress(int address, int newAddress);

// The address answer comes from the moved instrument:
//    1  the answering instrument's address
struct AddressAnswer {
    int address = 0;
};
AddressAnswer decodeAddressAnswer(QByteArrayView frame);

// Restore factory settings, code 0x14, 1 payload byte:
//    5  0x01
HexText buildFactoryReset(int address);
