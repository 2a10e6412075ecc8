#pragma once

// A connect response laid out byte by byte; tests poke single fields into it.

#include <QByteArray>

struct ConnectFrame {
    QByteArray b;
    explicit ConnectFrame(int channels = 2) : b(129 + 12 * channels + 2, '\0') {
        b[0] = char(0xBB);
        b[2] = 0x01;
        b[128] = char(channels);
    }
    void u8(int pos, int v) { b[pos] = char(v); }
    void u16(int pos, int v) {
        b[pos] = char(v & 0xFF);
        b[pos + 1] = char((v >> 8) & 0xFF);
    }
    void s16(int pos, int v) { u16(pos, v < 0 ? 0x8000 | -v : v); }
    void u32(int pos, quint32 v) {
        for (int i = 0; i < 4; ++i)
            b[pos + i] = char((v >> (8 * i)) & 0xFF);
    }
    void bytes(int pos, const QByteArray& v) { b.replace(pos, v.size(), v); }
    // The frame with its length field, sum and end byte filled in.
    QByteArray finished() const {
        QByteArray f = b;
        const int n = int(f.size());
        f[3] = char((n - 5) & 0xFF);
        f[4] = char((n - 5) >> 8);
        quint8 sum = 0;
        for (int i = 0; i < n - 2; ++i)
            sum = quint8(sum + quint8(f[i]));
        f[n - 2] = char(sum);
        f[n - 1] = char(0xDD);
        return f;
    }
};
