#pragma once

// The program's end of a simulated line, opened with plain POSIX calls so these tests depend
// on nothing but the simulator.

#include "sim/sim_frames.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

struct LineRead {
    qint64 atMs = 0;
    QByteArray bytes;
};

class SlaveLine {
public:
    explicit SlaveLine(const QString& path, speed_t speed = B9600) {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        termios t{};
        if (m_fd >= 0 && ::tcgetattr(m_fd, &t) == 0) {
            cfmakeraw(&t);
            cfsetispeed(&t, speed);
            cfsetospeed(&t, speed);
            ::tcsetattr(m_fd, TCSANOW, &t);
        }
    }
    ~SlaveLine() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    SlaveLine(const SlaveLine&) = delete;
    SlaveLine& operator=(const SlaveLine&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    bool hungUp() const { return m_hungUp; }

    bool write(const QByteArray& bytes) {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(m_fd, bytes.constData() + done, size_t(bytes.size() - done));
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                return false;
            if (n > 0)
                done += n;
        }
        return true;
    }

    // Reads until nothing has come for idleMs (or totalMs passed, or the line hung up).
    QList<LineRead> readUntilIdle(int idleMs, int totalMs = 10000) {
        QList<LineRead> reads;
        const qint64 start = simMonotonicMs();
        qint64 last = start;
        while (true) {
            const qint64 now = simMonotonicMs();
            if (now - last >= idleMs || now - start >= totalMs)
                break;
            pollfd p{m_fd, POLLIN, 0};
            ::poll(&p, 1, int(std::min<qint64>(20, idleMs - (now - last))));
            char buf[4096];
            const ssize_t n = ::read(m_fd, buf, sizeof buf);
            if (n > 0) {
                last = simMonotonicMs();
                reads.append({last, QByteArray(buf, n)});
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                m_hungUp = true;
                break;
            }
        }
        return reads;
    }

    // Reads until `count` bytes have come; *lastAtMs gets the arrival time of the last read.
    QByteArray readBytes(qsizetype count, int totalMs, qint64* lastAtMs = nullptr) {
        QByteArray out;
        const qint64 start = simMonotonicMs();
        while (out.size() < count && simMonotonicMs() - start < totalMs) {
            pollfd p{m_fd, POLLIN, 0};
            ::poll(&p, 1, 20);
            char buf[4096];
            const ssize_t n = ::read(m_fd, buf, size_t(std::min<qsizetype>(sizeof buf, count - out.size())));
            if (n > 0) {
                out.append(buf, n);
                if (lastAtMs)
                    *lastAtMs = simMonotonicMs();
            }
        }
        return out;
    }

private:
    int m_fd = -1;
    bool m_hungUp = false;
};

// Groups reads into the pieces the far end sent: a silence of more than gapMs separates two.
inline QList<QByteArray> piecesOf(const QList<LineRead>& reads, int gapMs) {
    QList<QByteArray> pieces;
    qint64 last = -1;
    for (const LineRead& r : reads) {
        if (pieces.isEmpty() || r.atMs - last > gapMs)
            pieces.append(QByteArray());
        pieces.last().append(r.bytes);
        last = r.atMs;
    }
    return pieces;
}
