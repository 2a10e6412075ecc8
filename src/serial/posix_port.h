#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <termios.h>

// The few operating-system operations the serial component needs, over POSIX terminals.
// Everything here works on a plain file descriptor; nothing holds state of its own.
namespace posixport {

enum class OpenFailure {
    None,
    CannotOpen,   // open() failed: missing device, no permission, in use by another program
    NotATerminal, // opened, but it is a file or a device that is not a terminal
    CannotSetup,  // a terminal, but exclusive use could not be taken
};

struct OpenResult {
    int fd = -1;
    OpenFailure failure = OpenFailure::None;
    int errorNumber = 0; // errno of the failing call
};

// Opens a terminal for reading and writing, non-blocking, close-on-exec, without becoming its
// controlling terminal, and takes exclusive use of it (a second open by anyone fails).
OpenResult openDevice(const QByteArray& path);
void closeDevice(int fd);

// Discards bytes received but not read, and/or bytes written but not yet sent.
void purge(int fd, bool received, bool unsent);

enum class Parity { None, Odd, Even, Mark, Space };
enum class ModemLine { Asserted, Cleared, LeftAlone };

struct LineSettings {
    quint32 baudRate = 9600;
    int dataBits = 8; // 5..8
    Parity parity = Parity::None;
    bool twoStopBits = false;
    bool parityCheck = false;
    bool hardwareFlow = false; // CTS/RTS
    bool xonXoffOut = false;
    bool xonXoffIn = false;
    char xonChar = 17;
    char xoffChar = 19;
    ModemLine dtr = ModemLine::Asserted;
    ModemLine rts = ModemLine::Asserted;
    bool rtsToggle = false; // RTS up only while sending, where the driver can do it (RS-485)
};

// Turns `t` into raw, 8-bit clean mode with the given framing and flow control. A rate the
// terminal layer has no constant for keeps the rate `t` has.
void composeTermios(termios& t, const LineSettings& s);
// composeTermios on the device's current settings, then the modem lines. Results are not
// reported: a device may refuse what it cannot do (a pseudo-terminal, for one, keeps 8 bits
// without parity and has no modem lines).
void applyLineSettings(int fd, const LineSettings& s);

// Cumulative line counters, where the driver keeps them (real UARTs and most USB adapters;
// never a pseudo-terminal).
struct LineCounters {
    quint32 overrun = 0;
    quint32 bufferOverrun = 0;
    quint32 parity = 0;
    quint32 frame = 0;
    quint32 brk = 0;
    quint32 carrier = 0;
    quint32 ring = 0;
};
bool readLineCounters(int fd, LineCounters& out);

} // namespace posixport
