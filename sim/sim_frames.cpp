#include "sim/sim_frames.h"

#include "codec/command_frame.h"

#include <chrono>

namespace {

quint8 byteAt(QByteArrayView s, qsizetype pos) {
    return pos >= 0 && pos < s.size() ? quint8(s[pos]) : 0;
}

} // namespace

qint64 simMonotonicMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

quint8 SimRequest::address() const {
    return byteAt(bytes, kind == Kind::Command ? 1 : 0);
}

quint8 SimRequest::code() const {
    return byteAt(bytes, kind == Kind::Command ? 2 : 1);
}

QByteArray SimRequest::payload() const {
    if (kind == Kind::Command)
        return bytes.size() >= 7 ? bytes.mid(5, bytes.size() - 7) : QByteArray();
    return bytes.size() >= 4 ? bytes.mid(2, bytes.size() - 4) : QByteArray();
}

int SimRequest::modbusRegister() const {
    if (kind != Kind::Modbus || bytes.size() < 6)
        return -1;
    return byteAt(bytes, 2) << 8 | byteAt(bytes, 3);
}

QByteArray buildResponseFrame(quint8 address, quint8 code, QByteArrayView payload) {
    const int length = int(payload.size()) + 2;
    QByteArray f;
    f.reserve(payload.size() + 7);
    f.append(char(Cmd::ResponseStart));
    f.append(char(address));
    f.append(char(code));
    f.append(char(length & 0xFF));
    f.append(char((length >> 8) & 0xFF));
    f.append(payload.data(), payload.size());
    f.append(char(sum8(f)));
    f.append(char(Cmd::ResponseEnd));
    return f;
}

QByteArray appendModbusCrc(QByteArrayView bytes) {
    const quint16 crc = crc16(bytes);
    QByteArray out(bytes.data(), bytes.size());
    out.append(char(crc & 0xFF));
    out.append(char(crc >> 8));
    return out;
}

std::optional<SimRequest> RequestParser::frameAt(qsizetype pos, qsizetype* frameLength) const {
    const QByteArrayView rest = QByteArrayView(m_buffer).sliced(pos);
    const qsizetype avail = rest.size();

    if (byteAt(rest, 0) == Cmd::CommandStart && avail >= 5) {
        const int length = byteAt(rest, 3) | byteAt(rest, 4) << 8;
        const qsizetype total = length + 5;
        // A frame is only taken when its end byte sits where the length field says; the sum
        // decides whether it is answered, not whether it is a frame.
        if (length >= 2 && length <= MaxCommandLength && total <= avail &&
            byteAt(rest, total - 1) == Cmd::CommandEnd) {
            SimRequest r;
            r.kind = SimRequest::Kind::Command;
            r.bytes = rest.first(total).toByteArray();
            r.checksumOk = sum8(rest.first(total - 2)) == byteAt(rest, total - 2);
            *frameLength = total;
            return r;
        }
    }

    if (m_acceptModbus && avail >= 4) {
        // Modbus has no delimiters: the shortest run whose last two bytes are the CRC of the
        // bytes before them is the request.
        const qsizetype longest = std::min<qsizetype>(avail, MaxModbusLength);
        quint16 crc = 0xFFFF;
        for (qsizetype i = 0; i + 2 < longest; ++i) {
            crc ^= quint8(rest[i]);
            for (int k = 0; k < 8; ++k)
                crc = (crc & 1) ? quint16((crc >> 1) ^ 0xA001) : quint16(crc >> 1);
            const qsizetype total = i + 3;
            if (total >= 4 && byteAt(rest, total - 2) == (crc & 0xFF) &&
                byteAt(rest, total - 1) == (crc >> 8)) {
                SimRequest r;
                r.kind = SimRequest::Kind::Modbus;
                r.bytes = rest.first(total).toByteArray();
                r.checksumOk = true;
                *frameLength = total;
                return r;
            }
        }
    }
    return std::nullopt;
}

QList<SimRequest> RequestParser::feed(QByteArrayView bytes) {
    QList<SimRequest> out;
    m_buffer.append(bytes.data(), bytes.size());
    bool found = true;
    while (found && !m_buffer.isEmpty()) {
        found = false;
        for (qsizetype pos = 0; pos < m_buffer.size(); ++pos) {
            qsizetype length = 0;
            if (auto r = frameAt(pos, &length)) {
                out.append(std::move(*r));
                m_buffer.remove(0, pos + length);
                found = true;
                break;
            }
        }
    }
    if (m_buffer.size() > MaxBuffered)
        m_buffer.remove(0, m_buffer.size() - MaxBuffered);
    return out;
}
