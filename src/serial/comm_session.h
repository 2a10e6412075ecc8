#pragma once

#include <QEvent>

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

class QObject;

// What a worker tells the owner. It travels as a posted event, so the owner's handlers run on
// the owner's thread in posting order; a received block belongs to its event and dies with it,
// after the handler has returned.
class CommNotice : public QEvent {
public:
    enum Kind { DataReceived, ReceiveError, RequestHangup, ModemStateChange, SendDataEmpty };

    static QEvent::Type eventType();
    // The event queue's lock already orders a notice's construction before its delivery, but
    // inside the toolkit, where a thread checker cannot see it; this release/acquire pair states
    // that order in our own code. posted() runs on the worker before posting, received() on the
    // owner before it looks at any event.
    static void posted();
    static void received();

    CommNotice(Kind kind, quint32 value);
    CommNotice(std::unique_ptr<char[]> block, quint16 length);

    Kind kind;
    quint32 value = 0;             // error flags or modem bits
    std::unique_ptr<char[]> block; // received bytes plus one 0 after them
    quint16 length = 0;
};

// Line error flags and modem event bits as the owner's handlers receive them.
namespace commflags {
constexpr quint32 ReceiveQueueOverflow = 0x0001;
constexpr quint32 Overrun = 0x0002;
constexpr quint32 ParityError = 0x0004;
constexpr quint32 FramingError = 0x0008;
constexpr quint32 Break = 0x0010;

constexpr quint32 RingIndicator = 0x4;
constexpr quint32 CarrierDetectChanged = 0x8;
} // namespace commflags

// Everything the reader and the writer share with the owner while a port is open: the device
// descriptor (owned by the caller), the close event, the write queue, the settings the reader
// consults on every wake-up. The workers post to `target` and never touch it otherwise.
class CommSession {
public:
    static constexpr std::size_t kReadBlock = 2048;

    CommSession(int fd, QObject* target);
    ~CommSession(); // stops both workers
    CommSession(const CommSession&) = delete;
    CommSession& operator=(const CommSession&) = delete;

    bool createEvents();
    bool startReader();
    bool startWriter();
    // Both set the close event, drop what the driver still holds in their direction and wait
    // for their worker to end.
    void stopReader();
    void stopWriter();

    // Queues a copy of the bytes for the writer; false when the writer is not taking requests.
    bool queueWrite(const char* data, quint16 size);

    std::atomic<quint32> readInterval{100};
    std::atomic<quint32> readTotalMultiplier{0};
    std::atomic<quint32> readTotalConstant{0};
    std::atomic<bool> ignoreNullChar{false};
    // True while nothing is queued or being written. A hint, as its name says.
    std::atomic<bool> sendQueueEmpty{true};

private:
    struct WriteBlock {
        std::unique_ptr<char[]> data;
        quint16 size = 0;
    };

    void readerBody();
    void writerBody();
    bool handOn(const char* bytes, std::size_t count);
    bool writeBlock(const WriteBlock& block);
    void signalClose();
    void post(CommNotice* notice);
    void postHangup();

    const int m_fd;
    QObject* const m_target;
    int m_closeFd = -1; // the close event: once readable it stays readable
    int m_wakeFd = -1;  // counts write requests the writer has not looked at yet
    std::atomic<bool> m_closing{false};
    std::atomic<bool> m_hangupPosted{false};

    std::mutex m_queueLock;
    std::deque<WriteBlock> m_queue;
    bool m_writerAccepts = false;

    std::thread m_reader;
    std::thread m_writer;
};
