#include "commands/identity_commands.h"

#include "commands/command_payload.h"

namespace {
constexpr int IdentityFieldWidth = 10;
}

HexText buildModelSerial(int address, const ModelSerial& entry) {
    QByteArray bytes = payload::gbkText(entry.model, IdentityFieldWidth, EntryField::Model);
    bytes += payload::gbkText(entry.serialNumber, IdentityFieldWidth, EntryField::SerialNumber);
    return payload::frame(address, Cmd::SetModelSerialPiece, bytes);
}

HexText buildSetAddress(int address, int newAddress) {
    if (newAddress < 0 || newAddress > 255)
        throw EntryRefused(EntryField::NewAddress, EntryRefused::NoItem);
    return payload::frame(address, Cmd::SetAddressPiece, QByteArray(1, char(newAddress)));
}

AddressAnswer decodeAddressAnswer(QByteArrayView frame) {
    return {aBufU8(payload::fieldArea(frame), 1)};
}

HexText buildFactoryReset(int address) {
    // The piece carries the one payload byte.
    return payload::frame(address, Cmd::FactoryResetPiece);
}
