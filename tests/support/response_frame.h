#pragma once

// A response frame as an instrument sends it: BB, address, code, length, payload, sum, DD.

#include "codec/checksums.h"

#include <QByteArray>

inline QByteArray responseFrame(quint8 code, const QByteArray& payload = {}, quint8 address = 1) {
    QByteArray f;
    f += char(0xBB);
    f += char(address);
    f += char(code);
    const int len = int(payload.size()) + 2;
    f += char(len & 0xFF);
    f += char(len >> 8);
    f += payload;
    f += char(sum8(f));
    f += char(0xDD);
    return f;
}
