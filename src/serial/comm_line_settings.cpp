#include "serial/comm_line_settings.h"

#include "serial/tcomm.h"

posixport::LineSettings commLineSettings(const TComm& c) {
    using posixport::ModemLine;
    posixport::LineSettings s;
    s.baudRate = c.BaudRate();
    s.dataBits = 5 + int(c.ByteSize());
    s.parity = posixport::Parity(int(c.Parity()));
    // The terminal layer knows 1 and 2 stop bits only; 1.5 is what 5-bit UARTs send for "2".
    s.twoStopBits = c.StopBits() != TStopBits::_1;
    s.parityCheck = c.ParityCheck();
    // CTS output flow and RTS input flow are one switch here.
    s.hardwareFlow = c.Outx_CtsFlow() || c.RtsControl() == TRtsControl::RtsHandshake;
    s.xonXoffOut = c.Outx_XonXoffFlow();
    s.xonXoffIn = c.Inx_XonXoffFlow();
    s.xonChar = c.XonChar();
    s.xoffChar = c.XoffChar();
    // There is no DTR handshake here; DTR stays up so the device sees a terminal present.
    s.dtr = c.DtrControl() == TDtrControl::DtrDisable ? ModemLine::Cleared : ModemLine::Asserted;
    s.rts = c.RtsControl() == TRtsControl::RtsDisable ? ModemLine::Cleared : ModemLine::Asserted;
    s.rtsToggle = c.RtsControl() == TRtsControl::RtsTransmissionAvailable;
    return s;
}
