#include "sim/sim_engine.h"

#include "serial/pty_pair.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>

// Bytes of paced output written per step: about 10 ms of line time (baud / 10 bytes per second).
static qsizetype pacedChunkSize(int baud) {
    return std::max(1, baud / 1000);
}

SimEngine::SimEngine(std::shared_ptr<SimShared> shared)
    : m_shared(std::move(shared)), m_parser(m_shared->state.modbus) {}

void SimEngine::init() {
    m_sendTimer = new QTimer(this);
    m_sendTimer->setSingleShot(true);
    m_sendTimer->setTimerType(Qt::PreciseTimer);
    connect(m_sendTimer, &QTimer::timeout, this, &SimEngine::pump);
    m_clock.start();
    m_wakeNotifier = new QSocketNotifier(m_shared->wakeFd, QSocketNotifier::Read, this);
    connect(m_wakeNotifier, &QSocketNotifier::activated, this, &SimEngine::runCalls);
    runCalls(); // calls handed over before the thread was up
}

void SimEngine::runCalls() {
    quint64 wakes = 0;
    while (::read(m_shared->wakeFd, &wakes, sizeof wakes) < 0 && errno == EINTR) {
    }
    while (true) {
        std::function<void()> call;
        {
            std::lock_guard lock(m_shared->mutex);
            if (m_shared->calls.empty())
                return;
            call = std::move(m_shared->calls.front());
            m_shared->calls.pop_front();
        }
        call();
    }
}

SimEngine::~SimEngine() = default;

bool SimEngine::hasTransport() const {
    return m_pty || m_server || m_socket;
}

bool SimEngine::openPty(const QString& symlink) {
    if (hasTransport())
        return false;
    auto pty = std::make_unique<PtyPair>();
    if (!pty->isOpen())
        return false;
    // Never block the simulator's loop on a full line: writes that do not fit are retried.
    const int flags = ::fcntl(pty->masterFd(), F_GETFL);
    ::fcntl(pty->masterFd(), F_SETFL, flags | O_NONBLOCK);

    if (!symlink.isEmpty()) {
        const QFileInfo existing(symlink);
        if (existing.isSymLink())
            QFile::remove(symlink);
        else if (existing.exists())
            return false;
        if (::symlink(QFile::encodeName(pty->slavePath()).constData(),
                      QFile::encodeName(symlink).constData()) != 0)
            return false;
    }

    m_pty = std::move(pty);
    m_ptyNotifier = new QSocketNotifier(m_pty->masterFd(), QSocketNotifier::Read, this);
    connect(m_ptyNotifier, &QSocketNotifier::activated, this, &SimEngine::readPty);
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->ptyPath = m_pty->slavePath();
        m_shared->symlink = symlink;
    }
    m_shared->lineOpen = true;
    return true;
}

bool SimEngine::openTcpServer(quint16 port, const QHostAddress& address) {
    if (hasTransport())
        return false;
    m_server = new QTcpServer(this);
    if (!m_server->listen(address, port)) {
        delete m_server;
        m_server = nullptr;
        return false;
    }
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (m_server && m_server->hasPendingConnections())
            adoptSocket(m_server->nextPendingConnection());
    });
    std::lock_guard lock(m_shared->mutex);
    m_shared->tcpPort = m_server->serverPort();
    return true;
}

bool SimEngine::openTcpClient(const QString& host, quint16 port) {
    if (hasTransport())
        return false;
    auto* socket = new QTcpSocket(this);
    socket->connectToHost(host, port);
    if (!socket->waitForConnected(5000)) {
        delete socket;
        return false;
    }
    adoptSocket(socket);
    return true;
}

void SimEngine::adoptSocket(QTcpSocket* socket) {
    // One instrument, one line: a newer connection replaces the older one.
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        m_socket->deleteLater();
    }
    m_socket = socket;
    m_parser.reset();
    m_out.clear();
    m_chunk.clear();
    m_chunkDueUs = -1;
    connect(socket, &QTcpSocket::readyRead, this, &SimEngine::readSocket);
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        if (m_socket == socket) {
            m_shared->lineOpen = false;
            m_socket = nullptr;
        }
        socket->deleteLater();
    });
    m_shared->lineOpen = true;
}

void SimEngine::readSocket() {
    if (m_socket)
        received(m_socket->readAll());
}

void SimEngine::readPty() {
    char buffer[4096];
    while (m_pty && m_pty->masterFd() >= 0) {
        const ssize_t n = ::read(m_pty->masterFd(), buffer, sizeof buffer);
        if (n > 0) {
            received(QByteArrayView(buffer, n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        // EIO while no slave end is open: listen again a little later instead of spinning.
        if (m_ptyNotifier) {
            m_ptyNotifier->setEnabled(false);
            QTimer::singleShot(100, this, [this] {
                if (m_ptyNotifier)
                    m_ptyNotifier->setEnabled(true);
            });
        }
        return;
    }
}

void SimEngine::received(QByteArrayView bytes) {
    const QList<SimRequest> requests = m_parser.feed(bytes);
    for (SimRequest r : requests) {
        r.timeMs = simMonotonicMs();
        std::optional<QByteArray> answer;
        QList<SimFault> faults;
        std::function<void(const SimRequest&)> observer;
        {
            std::lock_guard lock(m_shared->mutex);
            r.number = ++m_shared->requestsSeen;
            m_shared->log.append(r);
            // A long demo run must not grow without bound; tests never come near this.
            if (m_shared->log.size() > 100000)
                m_shared->log.removeFirst();
            SimReply reply = simReply(m_shared->handlers, r, m_shared->state, m_shared->faults);
            answer = std::move(reply.answer);
            faults = std::move(reply.faults);
            observer = m_shared->observer;
            m_parser.setAcceptModbus(m_shared->state.modbus);
        }
        m_shared->requestArrived.notify_all();
        if (observer)
            observer(r);
        if (!answer)
            continue;
        const ShapedAnswer shaped = shapeAnswer(*answer, r.kind == SimRequest::Kind::Modbus, faults);
        if (shaped.hangUp) {
            hangUp();
            return;
        }
        for (qsizetype i = 0; i < shaped.pieces.size(); ++i)
            m_out.push_back({shaped.pieces[i], i > 0 ? shaped.pauseMs : 0, i == shaped.pieces.size() - 1});
    }
    if (!m_sendTimer->isActive())
        pump();
}

int SimEngine::lineBaudRate() const {
    termios t{};
    // On Linux the master reports the termios of the slave, i.e. what the program set.
    if (!m_pty || m_pty->masterFd() < 0 || ::tcgetattr(m_pty->masterFd(), &t) != 0)
        return 9600;
    switch (cfgetospeed(&t)) {
    case B1200:
        return 1200;
    case B2400:
        return 2400;
    case B4800:
        return 4800;
    case B9600:
        return 9600;
    case B19200:
        return 19200;
    case B38400:
        return 38400;
    case B57600:
        return 57600;
    case B115200:
        return 115200;
    case B230400:
        return 230400;
    case B460800:
        return 460800;
    case B921600:
        return 921600;
    default:
        return 9600;
    }
}

qint64 SimEngine::writeLine(QByteArrayView bytes) {
    if (bytes.isEmpty())
        return 0;
    if (m_pty) {
        if (m_pty->masterFd() < 0)
            return -1;
        while (true) {
            const ssize_t n = ::write(m_pty->masterFd(), bytes.data(), size_t(bytes.size()));
            if (n >= 0)
                return n;
            if (errno == EINTR)
                continue;
            return (errno == EAGAIN || errno == EWOULDBLOCK) ? 0 : -1;
        }
    }
    if (m_socket && m_socket->state() == QAbstractSocket::ConnectedState)
        return m_socket->write(bytes.data(), bytes.size());
    return -1;
}

void SimEngine::schedule(qint64 delayUs) {
    m_sendTimer->start(int(std::max<qint64>(0, (delayUs + 999) / 1000)));
}

void SimEngine::pump() {
    constexpr qint64 RetryUs = 5000; // a full pty buffer: try again shortly
    while (!m_out.empty()) {
        Piece& piece = m_out.front();
        if (piece.pauseBeforeMs > 0 && m_chunkDueUs < 0) {
            const int pause = piece.pauseBeforeMs;
            piece.pauseBeforeMs = 0;
            m_burst = false;
            schedule(qint64(pause) * 1000);
            return;
        }

        const bool paced = m_pty && m_shared->pacing;
        if (!paced && !m_chunk.isEmpty()) {
            piece.bytes.prepend(m_chunk);
            m_chunk.clear();
            m_chunkDueUs = -1;
        }
        if (paced && m_chunkDueUs < 0 && !piece.bytes.isEmpty()) {
            // The chunk is written when its last bit would have left a real line, so the far
            // end never sees bytes earlier than the baud rate allows.
            const int baud = lineBaudRate();
            const qsizetype size = std::min(pacedChunkSize(baud), piece.bytes.size());
            m_chunk = piece.bytes.left(size);
            piece.bytes.remove(0, size);
            const qint64 now = m_clock.nsecsElapsed() / 1000;
            const qint64 start = m_burst ? m_lineFreeUs : std::max(now, m_lineFreeUs);
            m_chunkDueUs = start + qint64(size) * 10 * 1000000 / baud;
            m_lineFreeUs = m_chunkDueUs;
            m_burst = true;
        }

        QByteArray& pending = paced ? m_chunk : piece.bytes;
        if (paced && !pending.isEmpty()) {
            const qint64 now = m_clock.nsecsElapsed() / 1000;
            if (now < m_chunkDueUs) {
                schedule(m_chunkDueUs - now);
                return;
            }
        }
        if (!pending.isEmpty()) {
            const qint64 n = writeLine(pending);
            if (n < 0) {
                m_out.clear();
                m_chunk.clear();
                m_chunkDueUs = -1;
                break;
            }
            pending.remove(0, n);
            if (!pending.isEmpty()) {
                schedule(RetryUs);
                return;
            }
        }
        m_chunkDueUs = -1;
        if (piece.bytes.isEmpty() && m_chunk.isEmpty()) {
            if (piece.endsAnswer) {
                std::lock_guard lock(m_shared->mutex);
                ++m_shared->answersSent;
            }
            m_out.pop_front();
        }
    }
    m_burst = false;
}

void SimEngine::hangUp() {
    // Cleared first: whoever sees the line drop must already read it as closed.
    m_shared->lineOpen = false;
    m_sendTimer->stop();
    m_out.clear();
    m_chunk.clear();
    m_chunkDueUs = -1;
    m_parser.reset();
    if (m_pty) {
        if (m_ptyNotifier) {
            m_ptyNotifier->setEnabled(false);
            m_ptyNotifier->deleteLater();
            m_ptyNotifier = nullptr;
        }
        m_pty->closeMaster();
        QString link;
        {
            std::lock_guard lock(m_shared->mutex);
            link = m_shared->symlink;
        }
        if (!link.isEmpty() && QFileInfo(link).isSymLink())
            QFile::remove(link);
    }
    if (m_socket) {
        QTcpSocket* socket = m_socket;
        m_socket = nullptr;
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
}

bool SimEngine::sendUnasked(const QByteArray& bytes) {
    if (!m_shared->lineOpen || !(m_pty || m_socket))
        return false;
    m_out.push_back({bytes, 0, false});
    if (!m_sendTimer->isActive())
        pump();
    return true;
}

void SimEngine::shutdown() {
    hangUp();
    if (m_server) {
        m_server->close();
        delete m_server;
        m_server = nullptr;
    }
    delete m_ptyNotifier;
    m_ptyNotifier = nullptr;
    m_pty.reset();
    delete m_wakeNotifier;
    m_wakeNotifier = nullptr;
}
