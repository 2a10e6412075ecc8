#pragma once

// The instrument's side of the wire: answers it builds and requests it picks out of the
// byte stream. Everything here is pure and thread-free.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

// One request as the instrument received it.
struct SimRequest {
    enum class Kind { Command, Modbus };

    Kind kind = Kind::Command;
    QByteArray bytes;        // the whole frame as it arrived
    bool checksumOk = false; // the 8-bit sum of a command frame; always true for Modbus (found by its CRC)
    int number = 0;          // 1-based arrival number, set by the simulator
    qint64 timeMs = 0;       // monotonic clock (steady_clock) in ms, set by the simulator

    // Command frame: AA addr code lenLo lenHi payload… sum CC. Modbus: addr fn reg… crcLo crcHi.
    quint8 address() const;
    quint8 code() const;        // command code, or the Modbus function
    QByteArray payload() const; // command payload, or the Modbus bytes between function and CRC
    int modbusRegister() const; // bytes 2..3 high byte first; -1 for a command frame
};

// The monotonic clock of the request log (ms), the one QElapsedTimer reads too.
qint64 simMonotonicMs();

// 0xBB addr code len(lo,hi)=payload+2 payload sum 0xDD.
QByteArray buildResponseFrame(quint8 address, quint8 code, QByteArrayView payload);

// bytes + their Modbus CRC-16, low byte first.
QByteArray appendModbusCrc(QByteArrayView bytes);

// Splits a received byte stream into requests. Bytes of one request may come in any number
// of pieces; line noise in front of a request is skipped. The earliest complete frame in the
// buffer wins and everything before it is dropped, so a stray 0xAA whose length field promises
// more bytes than ever come cannot hold up the next real request.
class RequestParser {
public:
    // Longest length field a command frame may carry: the program's receive buffer is 1025 bytes.
    static constexpr int MaxCommandLength = 1020;
    // Longest Modbus request looked for (the longest the program sends is 12 bytes).
    static constexpr int MaxModbusLength = 64;
    // Bytes kept while waiting for a frame to complete; older bytes are noise by then.
    static constexpr int MaxBuffered = 4096;

    explicit RequestParser(bool acceptModbus = false) : m_acceptModbus(acceptModbus) {}

    void setAcceptModbus(bool on) { m_acceptModbus = on; }
    // Appends bytes and returns every request completed by them, in order.
    QList<SimRequest> feed(QByteArrayView bytes);
    void reset() { m_buffer.clear(); }
    qsizetype buffered() const { return m_buffer.size(); }

private:
    std::optional<SimRequest> frameAt(qsizetype pos, qsizetype* frameLength) const;

    QByteArray m_buffer;
    bool m_acceptModbus = false;
};
