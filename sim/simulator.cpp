#include "sim/simulator.h"

#include "sim/sim_engine.h"

#include <QThread>

#include <cerrno>
#include <sys/eventfd.h>
#include <unistd.h>

#include <chrono>

Simulator::Simulator(SimProfile profile) : m_shared(std::make_shared<SimShared>()) {
    m_shared->state = std::move(profile);
    m_shared->handlers = standardSimHandlers();
    m_shared->wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("korvel-sim"));
    m_engine = new SimEngine(m_shared);
    m_engine->moveToThread(m_thread);
    SimEngine* engine = m_engine;
    QObject::connect(m_thread, &QThread::started, engine, [engine] { engine->init(); });
    QObject::connect(m_thread, &QThread::finished, engine, &QObject::deleteLater);
    m_thread->start();
}

Simulator::~Simulator() {
    runInThread([this] {
        m_engine->shutdown();
        // Stop the loop from inside: the thread ends once this call returns.
        QThread::currentThread()->quit();
    });
    m_thread->wait();
    delete m_thread;
    if (m_shared->wakeFd >= 0)
        ::close(m_shared->wakeFd);
}

template <typename F> void Simulator::runInThread(F&& f) const {
    // A call from the simulator's own thread (an observer, say) must not wait for itself.
    if (QThread::currentThread() == m_thread) {
        f();
        return;
    }
    std::mutex doneMutex;
    std::condition_variable doneSignal;
    bool done = false;
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->calls.push_back([&] {
            f();
            std::lock_guard doneLock(doneMutex);
            done = true;
            doneSignal.notify_all();
        });
    }
    const quint64 one = 1;
    while (::write(m_shared->wakeFd, &one, sizeof one) < 0 && errno == EINTR) {
    }
    std::unique_lock doneLock(doneMutex);
    doneSignal.wait(doneLock, [&] { return done; });
}

bool Simulator::startPty(const QString& symlink) {
    bool ok = false;
    runInThread([&] { ok = m_engine->openPty(symlink); });
    return ok;
}

QString Simulator::ptyPath() const {
    std::lock_guard lock(m_shared->mutex);
    return m_shared->ptyPath;
}

QString Simulator::ptyName() const {
    const QString path = ptyPath();
    return path.startsWith(QLatin1String("/dev/")) ? path.mid(5) : path;
}

bool Simulator::startTcpServer(quint16 port, const QHostAddress& address) {
    bool ok = false;
    runInThread([&] { ok = m_engine->openTcpServer(port, address); });
    return ok;
}

quint16 Simulator::tcpPort() const {
    std::lock_guard lock(m_shared->mutex);
    return m_shared->tcpPort;
}

bool Simulator::startTcpClient(const QString& host, quint16 port) {
    bool ok = false;
    runInThread([&] { ok = m_engine->openTcpClient(host, port); });
    return ok;
}

bool Simulator::lineOpen() const {
    return m_shared->lineOpen;
}

void Simulator::setPacing(bool on) {
    m_shared->pacing = on;
}

bool Simulator::pacing() const {
    return m_shared->pacing;
}

void Simulator::injectFault(const SimFault& fault) {
    std::lock_guard lock(m_shared->mutex);
    m_shared->faults.append(fault);
}

void Simulator::clearFaults() {
    std::lock_guard lock(m_shared->mutex);
    m_shared->faults.clear();
}

void Simulator::hangUp() {
    runInThread([this] { m_engine->hangUp(); });
}

bool Simulator::sendToLine(const QByteArray& bytes) {
    bool ok = false;
    runInThread([&] { ok = m_engine->sendUnasked(bytes); });
    return ok;
}

SimProfile Simulator::state() const {
    std::lock_guard lock(m_shared->mutex);
    return m_shared->state;
}

void Simulator::updateState(const std::function<void(SimProfile&)>& change) {
    std::lock_guard lock(m_shared->mutex);
    change(m_shared->state);
}

void Simulator::setCommandHandler(quint8 code, SimCommandHandler handler) {
    std::lock_guard lock(m_shared->mutex);
    m_shared->handlers.setCommand(code, std::move(handler));
}

void Simulator::setModbusHandler(quint8 function, quint16 reg, SimModbusHandler handler) {
    std::lock_guard lock(m_shared->mutex);
    m_shared->handlers.setModbus(function, reg, std::move(handler));
}

QList<SimRequest> Simulator::requests() const {
    std::lock_guard lock(m_shared->mutex);
    return m_shared->log;
}

int Simulator::requestCount() const {
    std::lock_guard lock(m_shared->mutex);
    return m_shared->requestsSeen;
}

SimRequest Simulator::request(int n) const {
    std::lock_guard lock(m_shared->mutex);
    for (auto it = m_shared->log.crbegin(); it != m_shared->log.crend(); ++it)
        if (it->number == n)
            return *it;
    return {};
}

bool Simulator::waitForRequest(int n, int timeoutMs) const {
    std::unique_lock lock(m_shared->mutex);
    return m_shared->requestArrived.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                             [&] { return m_shared->requestsSeen >= n; });
}

int Simulator::answersSent() const {
    std::lock_guard lock(m_shared->mutex);
    return m_shared->answersSent;
}

void Simulator::setRequestObserver(std::function<void(const SimRequest&)> observer) {
    std::lock_guard lock(m_shared->mutex);
    m_shared->observer = std::move(observer);
}
