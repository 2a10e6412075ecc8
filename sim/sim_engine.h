#pragma once

// Inside of Simulator: the state shared with the owning thread, and the object that lives on
// the simulator's thread and serves the line.

#include "sim/sim_fault.h"
#include "sim/sim_frames.h"
#include "sim/sim_handlers.h"
#include "sim/sim_profile.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QPointer>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

class PtyPair;
class QSocketNotifier;
class QTcpServer;
class QTcpSocket;
class QTimer;

struct SimShared {
    mutable std::mutex mutex;
    std::condition_variable requestArrived;
    SimProfile state;
    SimHandlers handlers;
    QList<SimFault> faults;
    QList<SimRequest> log;
    int requestsSeen = 0; // numbering goes on after clearRequests()
    int answersSent = 0;
    std::function<void(const SimRequest&)> observer;
    QString ptyPath;
    QString symlink;
    quint16 tcpPort = 0;
    std::atomic<bool> pacing{true};
    std::atomic<bool> lineOpen{false};

    // Calls handed to the simulator's thread. They travel through this queue and an eventfd
    // rather than Qt's queued calls, so the hand-over is plain mutex and fd traffic that a
    // thread sanitizer can follow.
    std::deque<std::function<void()>> calls;
    int wakeFd = -1;
};

class SimEngine : public QObject {
    Q_OBJECT
public:
    explicit SimEngine(std::shared_ptr<SimShared> shared);
    ~SimEngine() override;

    // All of these run on the simulator's thread.
    void init(); // when the thread starts
    bool openPty(const QString& symlink);
    bool openTcpServer(quint16 port, const QHostAddress& address);
    bool openTcpClient(const QString& host, quint16 port);
    void hangUp();
    void shutdown();
    bool sendUnasked(const QByteArray& bytes);

private:
    struct Piece {
        QByteArray bytes;
        int pauseBeforeMs = 0;
        bool endsAnswer = false;
    };

    bool hasTransport() const;
    void runCalls();
    void readPty();
    void readSocket();
    void adoptSocket(QTcpSocket* socket);
    void received(QByteArrayView bytes);
    void pump();
    void schedule(qint64 delayUs);
    // Writes as much as the line takes now; returns the number of bytes written (-1: line gone).
    qint64 writeLine(QByteArrayView bytes);
    int lineBaudRate() const;

    std::shared_ptr<SimShared> m_shared;
    RequestParser m_parser;

    std::unique_ptr<PtyPair> m_pty;
    QSocketNotifier* m_ptyNotifier = nullptr;
    QSocketNotifier* m_wakeNotifier = nullptr;
    QTcpServer* m_server = nullptr;
    QPointer<QTcpSocket> m_socket;

    std::deque<Piece> m_out;
    QTimer* m_sendTimer = nullptr;
    QElapsedTimer m_clock;
    QByteArray m_chunk;       // paced bytes whose wire time is running
    qint64 m_chunkDueUs = -1; // when their last bit has left the line
    qint64 m_lineFreeUs = 0;  // end of the wire time of everything written so far
    bool m_burst = false;     // sending back to back: wire time adds up from m_lineFreeUs
};
