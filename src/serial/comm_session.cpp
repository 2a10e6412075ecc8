#include "serial/comm_session.h"

#include "serial/posix_port.h"

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <new>
#include <optional>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <system_error>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::milliseconds;

// How often the driver's line counters are looked at, where it has them.
constexpr Millis kCounterPeriod{100};

// Drain the driver promptly while the interface is busy. Raising a thread's priority needs a
// privilege most users lack; without it the thread simply keeps the normal one.
void prepareThread(const char* name, int niceDelta) {
    (void)::pthread_setname_np(::pthread_self(), name);
    const auto tid = id_t(::syscall(SYS_gettid));
    errno = 0;
    const int current = ::getpriority(PRIO_PROCESS, tid);
    if (errno == 0)
        (void)::setpriority(PRIO_PROCESS, tid, current + niceDelta);
}

int millisUntil(Clock::time_point now, Clock::time_point deadline) {
    if (deadline <= now)
        return 0;
    // Round up: waking a little early would only make the loop go round once more for nothing.
    const auto ms = std::chrono::ceil<Millis>(deadline - now).count();
    return int(std::min<long long>(ms, INT_MAX));
}

int earlier(int a, int b) {
    if (a < 0)
        return b;
    if (b < 0)
        return a;
    return std::min(a, b);
}

void signalEvent(int fd) {
    const quint64 one = 1;
    (void)!::write(fd, &one, sizeof one);
}

} // namespace

QEvent::Type CommNotice::eventType() {
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

namespace {
std::atomic<unsigned> noticeHandoff{0};
}

void CommNotice::posted() {
    noticeHandoff.fetch_add(1, std::memory_order_release);
}

void CommNotice::received() {
    (void)noticeHandoff.load(std::memory_order_acquire);
}

CommNotice::CommNotice(Kind k, quint32 v) : QEvent(eventType()), kind(k), value(v) {}

CommNotice::CommNotice(std::unique_ptr<char[]> b, quint16 n)
    : QEvent(eventType()), kind(DataReceived), block(std::move(b)), length(n) {}

CommSession::CommSession(int fd, QObject* target) : m_fd(fd), m_target(target) {}

CommSession::~CommSession() {
    stopReader();
    stopWriter();
    if (m_closeFd >= 0)
        ::close(m_closeFd);
    if (m_wakeFd >= 0)
        ::close(m_wakeFd);
}

bool CommSession::createEvents() {
    m_closeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    m_wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    return m_closeFd >= 0 && m_wakeFd >= 0;
}

bool CommSession::startReader() {
    try {
        m_reader = std::thread([this] { readerBody(); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

bool CommSession::startWriter() {
    {
        std::lock_guard<std::mutex> lock(m_queueLock);
        m_writerAccepts = true;
    }
    try {
        m_writer = std::thread([this] { writerBody(); });
    } catch (const std::system_error&) {
        std::lock_guard<std::mutex> lock(m_queueLock);
        m_writerAccepts = false;
        return false;
    }
    return true;
}

void CommSession::signalClose() {
    m_closing = true;
    if (m_closeFd >= 0)
        signalEvent(m_closeFd);
}

void CommSession::stopReader() {
    if (!m_reader.joinable())
        return;
    signalClose();
    posixport::purge(m_fd, true, false);
    m_reader.join();
}

void CommSession::stopWriter() {
    if (!m_writer.joinable())
        return;
    signalClose();
    posixport::purge(m_fd, false, true);
    sendQueueEmpty = true;
    m_writer.join();
}

bool CommSession::queueWrite(const char* data, quint16 size) {
    std::unique_ptr<char[]> copy(new (std::nothrow) char[std::size_t(size) + 1]());
    if (!copy)
        return false;
    std::memcpy(copy.get(), data, size);
    {
        std::lock_guard<std::mutex> lock(m_queueLock);
        if (!m_writerAccepts)
            return false;
        m_queue.push_back(WriteBlock{std::move(copy), size});
        sendQueueEmpty = false;
    }
    signalEvent(m_wakeFd);
    return true;
}

void CommSession::post(CommNotice* notice) {
    CommNotice::posted();
    QCoreApplication::postEvent(m_target, notice);
}

// The reader and the writer may both notice that the device has gone; the owner hears it once.
void CommSession::postHangup() {
    if (!m_hangupPosted.exchange(true))
        post(new CommNotice(CommNotice::RequestHangup, 0));
}

bool CommSession::handOn(const char* bytes, std::size_t count) {
    if (count == 0 || count > kReadBlock)
        return false;
    std::unique_ptr<char[]> block(new (std::nothrow) char[count + 1]());
    if (!block) {
        postHangup();
        return false;
    }
    std::memcpy(block.get(), bytes, count);
    post(new CommNotice(std::move(block), quint16(count)));
    return true;
}

void CommSession::readerBody() {
    prepareThread("korvel-read", -2);

    // Reads take whatever the driver holds (up to a few blocks) in one call; blocks of at most
    // kReadBlock bytes are cut from the front. Cheaper than reading the rest of one block at a
    // time, and the owner sees the same blocks.
    static constexpr std::size_t kStage = 4 * kReadBlock;
    std::unique_ptr<char[]> stage(new char[kStage]);
    char* const buffer = stage.get();
    std::size_t filled = 0;
    Clock::time_point firstByte, lastByte;

    posixport::LineCounters counters;
    bool watchCounters = posixport::readLineCounters(m_fd, counters);
    Clock::time_point nextSample = Clock::now() + kCounterPeriod;

    // When the gathered bytes are due: after the line has been silent for the interval, or when
    // the total time of the block (counted from its first byte) has run out. Zero for all three
    // hands every read on at once.
    auto dueAt = [&]() -> Clock::time_point {
        const quint32 interval = readInterval;
        const quint64 total = quint64(readTotalMultiplier) * kReadBlock + readTotalConstant;
        std::optional<Clock::time_point> due;
        if (interval > 0)
            due = lastByte + Millis(interval);
        if (total > 0) {
            const auto t = firstByte + Millis(qint64(std::min<quint64>(total, quint64(INT_MAX))));
            due = due ? std::min(*due, t) : t;
        }
        return due ? *due : lastByte;
    };

    // Bytes gathered so far still reach the owner before the hang-up notice.
    auto gone = [&] {
        for (std::size_t at = 0; at < filled; at += kReadBlock) {
            if (!handOn(buffer + at, std::min(kReadBlock, filled - at)))
                break;
        }
        postHangup();
    };

    for (;;) {
        Clock::time_point now = Clock::now();
        int timeoutMs = -1;
        if (filled > 0) {
            const auto due = dueAt();
            if (due <= now) {
                if (!handOn(buffer, filled))
                    break;
                filled = 0;
            } else {
                timeoutMs = millisUntil(now, due);
            }
        }
        if (watchCounters) {
            if (nextSample <= now) {
                posixport::LineCounters c;
                if (posixport::readLineCounters(m_fd, c)) {
                    quint32 errors = 0;
                    if (c.bufferOverrun != counters.bufferOverrun)
                        errors |= commflags::ReceiveQueueOverflow;
                    if (c.overrun != counters.overrun)
                        errors |= commflags::Overrun;
                    if (c.parity != counters.parity)
                        errors |= commflags::ParityError;
                    if (c.frame != counters.frame)
                        errors |= commflags::FramingError;
                    if (c.brk != counters.brk)
                        errors |= commflags::Break;
                    quint32 modem = 0;
                    if (c.carrier != counters.carrier)
                        modem |= commflags::CarrierDetectChanged;
                    if (c.ring != counters.ring)
                        modem |= commflags::RingIndicator;
                    if (errors)
                        post(new CommNotice(CommNotice::ReceiveError, errors));
                    if (modem)
                        post(new CommNotice(CommNotice::ModemStateChange, modem));
                    counters = c;
                } else {
                    watchCounters = false; // the driver stopped answering: read on without them
                }
                nextSample = now + kCounterPeriod;
            }
            if (watchCounters)
                timeoutMs = earlier(timeoutMs, millisUntil(now, nextSample));
        }

        pollfd fds[2] = {{m_closeFd, POLLIN, 0}, {m_fd, POLLIN, 0}};
        if (::poll(fds, 2, timeoutMs) < 0) {
            if (errno == EINTR)
                continue;
            gone();
            break;
        }
        if (fds[0].revents != 0)
            break;
        const short events = fds[1].revents;
        if (events & POLLNVAL)
            break; // the descriptor was closed under us: nothing to tell anyone
        if (!(events & (POLLIN | POLLHUP | POLLERR)))
            continue;

        const ssize_t n = ::read(m_fd, buffer + filled, kStage - filled);
        if (n > 0) {
            std::size_t got = std::size_t(n);
            if (ignoreNullChar) {
                char* begin = buffer + filled;
                got = std::size_t(std::remove(begin, begin + got, '\0') - begin);
            }
            if (got > 0) {
                now = Clock::now();
                if (filled == 0)
                    firstByte = now;
                lastByte = now;
                filled += got;
            }
            bool handedOn = true;
            std::size_t at = 0;
            while (handedOn && filled - at >= kReadBlock) {
                handedOn = handOn(buffer + at, kReadBlock);
                at += kReadBlock;
            }
            if (!handedOn)
                break;
            if (at > 0) {
                // What is left starts the next block.
                std::memmove(buffer, buffer + at, filled - at);
                filled -= at;
                firstByte = lastByte;
            }
            continue;
        }
        if (n < 0 && (errno == EINTR || errno == EAGAIN) && !(events & (POLLHUP | POLLERR)))
            continue;
        if (n < 0 && errno == EBADF)
            break;
        // End of file, EIO, or a hang-up the read did not even report: the device has gone.
        // Ending here is what keeps a dead descriptor from spinning this loop.
        gone();
        break;
    }
    posixport::purge(m_fd, true, false);
}

bool CommSession::writeBlock(const WriteBlock& block) {
    std::size_t offset = 0;
    while (offset < block.size) {
        const ssize_t n = ::write(m_fd, block.data.get() + offset, block.size - offset);
        if (n > 0) {
            offset += std::size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd fds[2] = {{m_closeFd, POLLIN, 0}, {m_fd, POLLOUT, 0}};
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR)
                    continue;
                postHangup();
                return false;
            }
            if (fds[0].revents != 0)
                return false;
            if (fds[1].revents & POLLNVAL)
                return false;
            if ((fds[1].revents & (POLLHUP | POLLERR)) && !(fds[1].revents & POLLOUT)) {
                postHangup();
                return false;
            }
            continue;
        }
        if (n < 0 && errno == EBADF)
            return false;
        postHangup();
        return false;
    }
    return true;
}

void CommSession::writerBody() {
    prepareThread("korvel-write", -1);

    bool noticeOwed = true;
    for (;;) {
        WriteBlock block;
        bool taken = false;
        {
            std::lock_guard<std::mutex> lock(m_queueLock);
            if (!m_queue.empty()) {
                block = std::move(m_queue.front());
                m_queue.pop_front();
                taken = true;
            } else {
                sendQueueEmpty = true;
            }
        }
        if (!taken) {
            if (noticeOwed) {
                post(new CommNotice(CommNotice::SendDataEmpty, 0));
                noticeOwed = false;
            }
            pollfd fds[2] = {{m_closeFd, POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR)
                    continue;
                postHangup();
                break;
            }
            if (fds[0].revents != 0)
                break;
            if (fds[1].revents != 0) {
                quint64 pending = 0;
                (void)!::read(m_wakeFd, &pending, sizeof pending);
            }
            continue;
        }
        if (m_closing)
            break;
        if (!writeBlock(block))
            break;
        noticeOwed = true;
    }

    posixport::purge(m_fd, false, true);
    {
        // Requests still queued are released here: nobody will ever write them.
        std::lock_guard<std::mutex> lock(m_queueLock);
        m_writerAccepts = false;
        m_queue.clear();
    }
    sendQueueEmpty = true;
}
