#include "serial/posix_port.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace posixport {

namespace {

struct RateCode {
    quint32 rate;
    speed_t code;
};

constexpr RateCode kRates[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

bool rateCode(quint32 rate, speed_t& code) {
    for (const RateCode& r : kRates) {
        if (r.rate == rate) {
            code = r.code;
            return true;
        }
    }
    return false;
}

// Modem-line calls fail on pseudo-terminals and on adapters without the line; that is normal.
void setModemLine(int fd, int bit, ModemLine how) {
    if (how == ModemLine::LeftAlone)
        return;
    int bits = bit;
    (void)::ioctl(fd, how == ModemLine::Asserted ? TIOCMBIS : TIOCMBIC, &bits);
}

} // namespace

OpenResult openDevice(const QByteArray& path) {
    OpenResult r;
    // Non-blocking so that a modem port without carrier does not hang the open; the line is set
    // to ignore the carrier (CLOCAL) right after.
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        r.failure = OpenFailure::CannotOpen;
        r.errorNumber = errno;
        return r;
    }
    if (!::isatty(fd)) {
        r.failure = OpenFailure::NotATerminal;
        r.errorNumber = errno;
        ::close(fd);
        return r;
    }
    if (::ioctl(fd, TIOCEXCL) != 0) {
        r.failure = OpenFailure::CannotSetup;
        r.errorNumber = errno;
        ::close(fd);
        return r;
    }
    r.fd = fd;
    return r;
}

void closeDevice(int fd) {
    if (fd < 0)
        return;
    (void)::ioctl(fd, TIOCNXCL);
    ::close(fd);
}

void purge(int fd, bool received, bool unsent) {
    if (received && unsent)
        (void)::tcflush(fd, TCIOFLUSH);
    else if (received)
        (void)::tcflush(fd, TCIFLUSH);
    else if (unsent)
        (void)::tcflush(fd, TCOFLUSH);
}

void composeTermios(termios& t, const LineSettings& s) {
    // Raw: no line editing, no translation, no signals, every byte value passes.
    t.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | IGNPAR | PARMRK | INPCK | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                           IXOFF | IXANY | IUCLC | IMAXBEL);
    t.c_oflag &= ~tcflag_t(OPOST);
    t.c_lflag &= ~tcflag_t(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~tcflag_t(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= CREAD | CLOCAL;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;

    static constexpr tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    t.c_cflag |= sizes[qBound(5, s.dataBits, 8) - 5];
    switch (s.parity) {
    case Parity::None:
        break;
    case Parity::Odd:
        t.c_cflag |= PARENB | PARODD;
        break;
    case Parity::Even:
        t.c_cflag |= PARENB;
        break;
    case Parity::Mark:
        t.c_cflag |= PARENB | PARODD | CMSPAR;
        break;
    case Parity::Space:
        t.c_cflag |= PARENB | CMSPAR;
        break;
    }
    if (s.twoStopBits)
        t.c_cflag |= CSTOPB;
    if (s.parityCheck)
        t.c_iflag |= INPCK;
    if (s.hardwareFlow)
        t.c_cflag |= CRTSCTS;
    if (s.xonXoffOut)
        t.c_iflag |= IXON;
    if (s.xonXoffIn)
        t.c_iflag |= IXOFF;
    t.c_cc[VSTART] = cc_t(s.xonChar);
    t.c_cc[VSTOP] = cc_t(s.xoffChar);

    speed_t code = 0;
    if (rateCode(s.baudRate, code)) {
        (void)::cfsetispeed(&t, code);
        (void)::cfsetospeed(&t, code);
    }
}

void applyLineSettings(int fd, const LineSettings& s) {
    termios t{};
    if (::tcgetattr(fd, &t) != 0)
        return;
    composeTermios(t, s);
    (void)::tcsetattr(fd, TCSANOW, &t);

    setModemLine(fd, TIOCM_DTR, s.dtr);

    // Only drivers with RS-485 support answer these; the rest keep RTS as set below.
    serial_rs485 rs{};
    if (::ioctl(fd, TIOCGRS485, &rs) == 0 && bool(rs.flags & SER_RS485_ENABLED) != s.rtsToggle) {
        if (s.rtsToggle) {
            rs.flags |= SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND;
            rs.flags &= ~quint32(SER_RS485_RTS_AFTER_SEND);
        } else {
            rs.flags &= ~quint32(SER_RS485_ENABLED);
        }
        (void)::ioctl(fd, TIOCSRS485, &rs);
    }
    // With hardware flow or RS-485 the driver drives RTS itself.
    if (!s.hardwareFlow && !s.rtsToggle)
        setModemLine(fd, TIOCM_RTS, s.rts);
}

bool readLineCounters(int fd, LineCounters& out) {
    serial_icounter_struct c{};
    if (::ioctl(fd, TIOCGICOUNT, &c) != 0)
        return false;
    out.overrun = quint32(c.overrun);
    out.bufferOverrun = quint32(c.buf_overrun);
    out.parity = quint32(c.parity);
    out.frame = quint32(c.frame);
    out.brk = quint32(c.brk);
    out.carrier = quint32(c.dcd);
    out.ring = quint32(c.rng);
    return true;
}

} // namespace posixport
