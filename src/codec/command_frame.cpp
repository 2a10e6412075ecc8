#include "codec/command_frame.h"

HexText buildCommandFrame(int address, const char* piece, const HexText& payload) {
    HexText text = "AA " + QByteArray::number(address & 0xFF, 16).toUpper().rightJustified(2, '0');
    text += piece;
    text += payload;
    const HexText sum = aSum8(text);
    return text + ' ' + sum + " cc";
}

bool isValidResponseFrame(QByteArrayView frame) {
    const qsizetype n = frame.size();
    if (n < 3 || quint8(frame[0]) != Cmd::ResponseStart || quint8(frame[n - 1]) != Cmd::ResponseEnd)
        return false;
    return sum8(frame.first(n - 2)) == quint8(frame[n - 2]);
}
