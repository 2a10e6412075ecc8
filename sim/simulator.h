#pragma once

// The simulated instrument on a line: a pseudo-terminal, a TCP server on loopback, or a TCP
// client. It runs in its own thread with its own event loop, so a test or the demo can hold it
// next to the program on the main thread. All methods are called from the owning thread; the
// request log may be read from any thread.

#include "sim/sim_fault.h"
#include "sim/sim_frames.h"
#include "sim/sim_handlers.h"
#include "sim/sim_profile.h"

#include <QHostAddress>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

class QThread;
class SimEngine;
struct SimShared;

class Simulator {
public:
    explicit Simulator(SimProfile profile = SimProfile::byName(QStringLiteral("logger")));
    ~Simulator(); // closes the line and stops the thread
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // One transport per simulator. Each returns false when it cannot be set up.
    // The pty: a new pair whose master the simulator serves; symlink, when given, is made to
    // point at the slave (an existing symlink there is replaced).
    bool startPty(const QString& symlink = {});
    QString ptyPath() const; // "/dev/pts/7"
    QString ptyName() const; // "pts/7", the form of a port list entry
    // A TCP server (the program connects as a client); port 0 takes any free port.
    bool startTcpServer(quint16 port = 0, const QHostAddress& address = QHostAddress::LocalHost);
    quint16 tcpPort() const;
    // A TCP client to the program's server; returns once connected (or failed).
    bool startTcpClient(const QString& host, quint16 port);
    // The pty is open, or a TCP peer is connected.
    bool lineOpen() const;

    // Pace what is sent on a pty at the baud rate the program set (10 bits per byte). On by default.
    void setPacing(bool on);
    bool pacing() const;

    void injectFault(const SimFault& fault);
    void clearFaults();
    // Close the line now (the pty master, or the TCP connection).
    void hangUp();
    // Sends bytes of the instrument's own accord (a GPRS upload, say), after any answer that is
    // still on its way; false when no line is open.
    bool sendToLine(const QByteArray& bytes);

    // The instrument's state; changes made here are seen by the next answer.
    SimProfile state() const;
    void updateState(const std::function<void(SimProfile&)>& change);
    // Replace or add the answer to a command code or a Modbus read/write at run time.
    void setCommandHandler(quint8 code, SimCommandHandler handler);
    void setModbusHandler(quint8 function, quint16 reg, SimModbusHandler handler);

    // Every request received, with its bytes and monotonic time, in order.
    QList<SimRequest> requests() const;
    int requestCount() const;
    // The n-th request (1-based); a default SimRequest when there is none.
    SimRequest request(int n) const;
    // Blocks until at least n requests have arrived or timeoutMs has passed.
    bool waitForRequest(int n, int timeoutMs) const;
    // Number of answers whose last byte has been written to the line.
    int answersSent() const;

    // Called on the simulator's thread for each request as it arrives (e.g. to print it).
    void setRequestObserver(std::function<void(const SimRequest&)> observer);

private:
    template <typename F> void runInThread(F&& f) const;

    std::shared_ptr<SimShared> m_shared;
    QThread* m_thread = nullptr;
    SimEngine* m_engine = nullptr;
};
