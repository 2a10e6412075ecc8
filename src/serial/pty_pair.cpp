#include "serial/pty_pair.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair() {
    int master = -1, slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0)
        return;
    termios t{};
    if (tcgetattr(slave, &t) == 0) {
        cfmakeraw(&t);
        tcsetattr(slave, TCSANOW, &t);
    }
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    m_master = master;
    m_slaveKeepAlive = slave;
    m_slavePath = QString::fromLocal8Bit(name);
}

PtyPair::~PtyPair() {
    closeMaster();
    if (m_slaveKeepAlive >= 0)
        ::close(m_slaveKeepAlive);
}

QString PtyPair::slaveName() const {
    return m_slavePath.startsWith(QLatin1String("/dev/")) ? m_slavePath.mid(5) : m_slavePath;
}

void PtyPair::closeMaster() {
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}
