// How much the serial component costs over reading the terminal directly: throughput of an
// 8 MB stream and the delay from the last byte of a burst to the code that handles it, both
// through TComm and through a plain poll()/read() loop on the same pseudo-terminal.
#include "serial/pty_pair.h"
#include "serial/tcomm.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr qint64 kStreamBytes = 8 * 1024 * 1024;
constexpr int kRuns = 3;

double secondsSince(Clock::time_point t0) {
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

bool writeAll(int fd, const char* p, size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w <= 0)
            return false;
        p += w;
        n -= size_t(w);
    }
    return true;
}

void feed(int masterFd, qint64 total) {
    std::vector<char> chunk(65536);
    for (size_t i = 0; i < chunk.size(); ++i)
        chunk[i] = char(i * 7 % 251);
    for (qint64 sent = 0; sent < total;) {
        const size_t n = size_t(std::min<qint64>(qint64(chunk.size()), total - sent));
        if (!writeAll(masterFd, chunk.data(), n))
            return;
        sent += qint64(n);
    }
}

void configure(TComm& comm, const PtyPair& pty, quint32 interval) {
    comm.setCommName(pty.slavePath());
    comm.setInx_XonXoffFlow(false);
    comm.setOutx_XonXoffFlow(false);
    comm.setXonChar(0);
    comm.setXoffChar(0);
    comm.setReadIntervalTimeout(interval);
}

// Runs the event loop until `done` holds or 20 s have passed. Sleeps while nothing happens
// (the time-limited processEvents() overload would spin and steal a core from the reader).
template <typename Pred> bool spinUntil(Pred done) {
    const auto t0 = Clock::now();
    QTimer tick;
    tick.start(50);
    while (!done()) {
        if (secondsSince(t0) > 20)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

double streamThroughTComm(PtyPair& pty) {
    TComm comm;
    configure(comm, pty, 2);
    qint64 received = 0;
    comm.OnReceiveData = [&](TComm*, const char*, quint16 n) { received += n; };
    comm.OpenPort();
    const auto t0 = Clock::now();
    std::thread writer(feed, pty.masterFd(), kStreamBytes);
    const bool ok = spinUntil([&] { return received >= kStreamBytes; });
    const double s = secondsSince(t0);
    writer.join();
    comm.ClosePort();
    return ok ? double(kStreamBytes) / s : 0;
}

int openRaw(const PtyPair& pty) {
    const int fd = ::open(pty.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
    return fd;
}

double streamThroughRead(PtyPair& pty) {
    const int fd = openRaw(pty);
    char buf[2048];
    qint64 received = 0;
    const auto t0 = Clock::now();
    std::thread writer(feed, pty.masterFd(), kStreamBytes);
    while (received < kStreamBytes) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 20000) <= 0)
            break;
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0)
            break;
        received += n;
    }
    const double s = secondsSince(t0);
    writer.join();
    ::close(fd);
    return received >= kStreamBytes ? double(kStreamBytes) / s : 0;
}

struct Delays {
    double median = 0, p90 = 0, worst = 0; // milliseconds
};

Delays summarize(std::vector<double> ms) {
    Delays d;
    if (ms.empty())
        return d;
    std::sort(ms.begin(), ms.end());
    d.median = ms[ms.size() / 2];
    d.p90 = ms[ms.size() * 9 / 10];
    d.worst = ms.back();
    return d;
}

const char kBurst[64] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

Delays burstsThroughTComm(PtyPair& pty, quint32 interval, int bursts) {
    TComm comm;
    configure(comm, pty, interval);
    qint64 received = 0;
    Clock::time_point handled;
    comm.OnReceiveData = [&](TComm*, const char*, quint16 n) {
        received += n;
        handled = Clock::now();
    };
    comm.OpenPort();
    std::vector<double> ms;
    for (int i = 0; i < bursts; ++i) {
        const qint64 expected = received + qint64(sizeof kBurst);
        writeAll(pty.masterFd(), kBurst, sizeof kBurst);
        const auto sent = Clock::now();
        if (!spinUntil([&] { return received >= expected; }))
            break;
        ms.push_back(std::chrono::duration<double, std::milli>(handled - sent).count());
    }
    comm.ClosePort();
    return summarize(ms);
}

Delays burstsThroughRead(PtyPair& pty, int bursts) {
    const int fd = openRaw(pty);
    char buf[2048];
    std::vector<double> ms;
    for (int i = 0; i < bursts; ++i) {
        writeAll(pty.masterFd(), kBurst, sizeof kBurst);
        const auto sent = Clock::now();
        size_t got = 0;
        while (got < sizeof kBurst) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 20000) <= 0)
                break;
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n <= 0)
                break;
            got += size_t(n);
        }
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ::close(fd);
    return summarize(ms);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    PtyPair pty;
    if (!pty.isOpen()) {
        std::fprintf(stderr, "bench_serial: no pseudo-terminal available\n");
        return 1;
    }

    double viaComm = 0, viaRead = 0;
    for (int i = 0; i < kRuns; ++i) {
        viaComm = std::max(viaComm, streamThroughTComm(pty));
        viaRead = std::max(viaRead, streamThroughRead(pty));
    }
    std::printf("serial: %lld bytes through a pty, best of %d runs\n", kStreamBytes, kRuns);
    std::printf("  TComm (interval 2 ms)   %8.1f MB/s\n", viaComm / 1e6);
    std::printf("  plain read() loop       %8.1f MB/s\n", viaRead / 1e6);
    std::printf("  TComm / read()          %8.2f\n", viaRead > 0 ? viaComm / viaRead : 0.0);

    const int bursts = 200;
    const Delays plain = burstsThroughRead(pty, bursts);
    const Delays fast = burstsThroughTComm(pty, 2, bursts);
    const Delays link = burstsThroughTComm(pty, 128, 20);
    std::printf(
        "serial: delay from the last byte of a 64-byte burst to its handler (ms: median / p90 / max)\n");
    std::printf("  plain read() loop           %7.3f / %7.3f / %7.3f  (%d bursts)\n", plain.median, plain.p90,
                plain.worst, bursts);
    std::printf("  TComm, interval 2 ms        %7.3f / %7.3f / %7.3f  (%d bursts)\n", fast.median, fast.p90,
                fast.worst, bursts);
    std::printf("  TComm, interval 128 ms      %7.3f / %7.3f / %7.3f  (20 bursts)\n", link.median, link.p90,
                link.worst);
    std::printf("  TComm (2 ms) minus its interval, over read(): %.3f ms median\n",
                fast.median - 2 - plain.median);
    return 0;
}
