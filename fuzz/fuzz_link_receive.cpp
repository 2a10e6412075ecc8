// The command link's receive path under any sequence of events: bursts of any length and split
// from the serial port and both TCP sides, time-outs, sends, connects and follow-up steps, with
// the switches that change the path flipped in between. Every handler checks that the frame it
// is given lies inside the link's receive buffer and is a frame the link may hand on.

#include "../tests/support/fake_link_peers.h"
#include "codec/checksums.h"
#include "codec/command_frame.h"
#include "fuzz_check.h"
#include "link/command_link.h"

#include <QCoreApplication>

namespace {

struct Rig {
    FakeHost host;
    FakeSerial serial;
    FakeTcp server, client;
    CommandLink link{host, serial, &server, &client};

    Rig() {
        link.openPauseMs = 0;
        link.processEvents = nullptr;
        link.tick = [] { return quint32(1000); };
        link.portLister = [] { return QStringList{QStringLiteral("ttyUSB0"), QStringLiteral("ttyUSB1")}; };
        host.ports = {QStringLiteral("ttyUSB0"), QStringLiteral("ttyUSB1")};
        link.dispatcher().analyzeAndDisplay = [this](QByteArrayView frame) {
            checkResponse(frame);
            return int(frame.size() & 1);
        };
        for (int code = 0; code < 256; ++code)
            link.dispatcher().registerHandler<QByteArrayView>(
                quint8(code), [](QByteArrayView frame) { return frame; },
                [this](const QByteArrayView& frame) {
                    checkResponse(frame);
                    return followUp(int(quint8(frame[2]) % 14));
                });
        link.dispatcher().registerTransmitterHandler<QByteArrayView>(
            [](QByteArrayView frame) { return frame; },
            [this](const QByteArrayView& frame) {
                checkInside(frame);
                FUZZ_CHECK(frame.size() >= 3);
                FUZZ_CHECK(crc16(frame.first(frame.size() - 2)) ==
                           aBufU16(frame, frame.size() - 2, LowFirst));
                return HandlerStep{};
            });
        link.registerRawHandler([this](QByteArrayView bytes) { checkInside(bytes); });
        link.registerMonitorParser([](QByteArrayView) {});
        for (int action : {1, 2, 4, 5, 6, 7, 10, 11, 12, 13})
            link.registerFollowUp(action,
                                  [this] { link.sendCommand(buildCommandFrame(1, Cmd::ReadBatteryPiece)); });
    }

    void checkInside(QByteArrayView frame) const {
        const QByteArrayView buffer = link.receiveBuffer();
        FUZZ_CHECK(frame.data() >= buffer.data());
        FUZZ_CHECK(frame.data() + frame.size() <= buffer.data() + buffer.size());
    }
    void checkResponse(QByteArrayView frame) const {
        checkInside(frame);
        FUZZ_CHECK(isValidResponseFrame(frame));
    }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    Rig r;
    size_t i = 0;
    const auto next = [&]() -> int { return i < size ? data[i++] : 0; };
    while (i < size) {
        const int op = next();
        switch (op % 10) {
        case 0:
        case 1:
        case 2: {
            // A burst: up to 4 KiB plus, longer than the receive buffer now and then.
            const size_t want = size_t(next()) * 24 + size_t(next());
            const size_t n = std::min(want, size - i);
            const QByteArray bytes(reinterpret_cast<const char*>(data + i), qsizetype(n));
            i += n;
            if (op % 10 == 0)
                r.serial.receive(bytes);
            else if (op % 10 == 1)
                r.server.receive(bytes);
            else
                r.client.receive(bytes);
            break;
        }
        case 3:
            r.link.Timer1Timer();
            break;
        case 4:
            r.link.sendCommand(buildCommandFrame(next(), Cmd::ConnectPiece));
            break;
        case 5:
            r.link.Button2Click();
            break;
        case 6: {
            const int flags = next();
            r.host.tcp = flags & 1;
            r.host.server = flags & 2;
            r.host.fixed = flags & 4;
            r.host.hex = flags & 8;
            r.host.serverHex = flags & 16;
            r.host.clientHex = flags & 32;
            r.host.selected = (flags & 64) ? 0 : -1;
            break;
        }
        case 7: {
            const int flags = next();
            r.link.state().downloadActive = flags & 1;
            r.link.setBootMode(flags & 2 ? 1 : 0);
            r.link.setMonitorActive(flags & 4 ? 1 : 0);
            r.link.setTransmitterOp(flags & 8 ? 6 : 0);
            r.link.state().connected = flags & 16 ? 1 : 0;
            break;
        }
        case 8:
            r.host.address = next();
            break;
        default:
            r.link.state().retryCount = next() % 12;
            break;
        }
    }
    return 0;
}
