#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <stdexcept>

class CommSession;

enum class TDtrControl { DtrEnable, DtrDisable, DtrHandshake };
enum class TRtsControl { RtsEnable, RtsDisable, RtsHandshake, RtsTransmissionAvailable };
enum class TByteSize { _5, _6, _7, _8 };
enum class TParity { None, Odd, Even, Mark, Space };
enum class TStopBits { _1, _1_5, _2 };

// Raised by OpenPort. what() is the English text the rest of the program shows or logs;
// errorNumber() is the errno behind it where there is one (0 otherwise), so a caller can also
// tell the operator why (e.g. EACCES: not in the dialout group).
class ECommsError : public std::runtime_error {
public:
    explicit ECommsError(const char* message, int errorNumber = 0)
        : std::runtime_error(message), m_errorNumber(errorNumber) {}
    int errorNumber() const { return m_errorNumber; }

private:
    int m_errorNumber;
};

// One serial device: its line and time-out settings, a reader thread that gathers received
// bytes into blocks and a writer thread that sends queued blocks in order.
//
// Every event handler runs on the thread that owns this object, one notification at a time,
// in the order the workers posted them. A handler that processes events (a nested event loop)
// may see the next notification delivered inside it, as with any posted event.
//
// Received blocks: one block per burst, ending when the line has been silent for
// ReadIntervalTimeout ms after at least one byte, or when 2048 bytes have arrived. If either
// read total is nonzero, a block also ends that long (multiplier * 2048 + constant ms) after its
// first byte. With all three at 0 every read is handed on as it comes. The buffer handed to
// OnReceiveData holds `length` bytes plus a 0 after them and is valid until the handler returns.
//
// Device loss (adapter pulled, end of file, I/O error, hang-up) ends the reader with one
// OnRequestHangup; the port still counts as open until ClosePort.
class TComm : public QObject {
    Q_OBJECT
public:
    explicit TComm(QObject* parent = nullptr);
    ~TComm() override; // closes the port if it is open

    void OpenPort();  // throws ECommsError
    void ClosePort(); // does nothing when closed
    // Queues a copy of the bytes and returns at once. False when closed, when the writer has
    // ended (device gone), or for size 0.
    bool WriteData(const char* data, quint16 size);
    bool isOpen() const { return m_fd >= 0; }
    // True while nothing is queued or being written; a hint, not a synchronisation point.
    bool sendQueueEmpty() const;

    // The device path, used unchanged by the next OpenPort (e.g. "/dev/ttyUSB0").
    QString CommName() const { return m_commName; }
    void setCommName(const QString& v) { m_commName = v; }

    quint32 BaudRate() const { return m_baudRate; }
    void setBaudRate(quint32 v) { setLine(m_baudRate, v); }
    bool ParityCheck() const { return m_parityCheck; }
    void setParityCheck(bool v) { setLine(m_parityCheck, v); }
    bool Outx_CtsFlow() const { return m_outxCtsFlow; }
    void setOutx_CtsFlow(bool v) { setLine(m_outxCtsFlow, v); }
    // Kept for the settings' sake; the terminal layer has no DSR flow control.
    bool Outx_DsrFlow() const { return m_outxDsrFlow; }
    void setOutx_DsrFlow(bool v) { setLine(m_outxDsrFlow, v); }
    TDtrControl DtrControl() const { return m_dtrControl; }
    void setDtrControl(TDtrControl v) { setLine(m_dtrControl, v); }
    bool DsrSensitivity() const { return m_dsrSensitivity; }
    void setDsrSensitivity(bool v) { setLine(m_dsrSensitivity, v); }
    bool TxContinueOnXoff() const { return m_txContinueOnXoff; }
    void setTxContinueOnXoff(bool v) { setLine(m_txContinueOnXoff, v); }
    bool Outx_XonXoffFlow() const { return m_outxXonXoffFlow; }
    void setOutx_XonXoffFlow(bool v) { setLine(m_outxXonXoffFlow, v); }
    bool Inx_XonXoffFlow() const { return m_inxXonXoffFlow; }
    void setInx_XonXoffFlow(bool v) { setLine(m_inxXonXoffFlow, v); }
    bool ReplaceWhenParityError() const { return m_replaceWhenParityError; }
    void setReplaceWhenParityError(bool v) { setLine(m_replaceWhenParityError, v); }
    // Received 0 bytes are dropped by the reader before they are counted.
    bool IgnoreNullChar() const { return m_ignoreNullChar; }
    void setIgnoreNullChar(bool v) { setLine(m_ignoreNullChar, v); }
    TRtsControl RtsControl() const { return m_rtsControl; }
    void setRtsControl(TRtsControl v) { setLine(m_rtsControl, v); }
    quint16 XonLimit() const { return m_xonLimit; }
    void setXonLimit(quint16 v) { setLine(m_xonLimit, v); }
    quint16 XoffLimit() const { return m_xoffLimit; }
    void setXoffLimit(quint16 v) { setLine(m_xoffLimit, v); }
    TByteSize ByteSize() const { return m_byteSize; }
    void setByteSize(TByteSize v) { setLine(m_byteSize, v); }
    // A plain store: reaches the line at the next OpenPort or the next change of another line
    // setting.
    TParity Parity() const { return m_parity; }
    void setParity(TParity v) { m_parity = v; }
    // 1.5 stop bits are sent as 2: the terminal layer knows only 1 and 2.
    TStopBits StopBits() const { return m_stopBits; }
    void setStopBits(TStopBits v) { setLine(m_stopBits, v); }
    char XonChar() const { return m_xonChar; }
    void setXonChar(char v) { setLine(m_xonChar, v); }
    char XoffChar() const { return m_xoffChar; }
    void setXoffChar(char v) { setLine(m_xoffChar, v); }
    char ReplacedChar() const { return m_replacedChar; }
    void setReplacedChar(char v) { setLine(m_replacedChar, v); }

    quint32 ReadIntervalTimeout() const { return m_readIntervalTimeout; }
    void setReadIntervalTimeout(quint32 v) { setTimeout(m_readIntervalTimeout, v); }
    quint32 ReadTotalTimeoutMultiplier() const { return m_readTotalTimeoutMultiplier; }
    void setReadTotalTimeoutMultiplier(quint32 v) { setTimeout(m_readTotalTimeoutMultiplier, v); }
    quint32 ReadTotalTimeoutConstant() const { return m_readTotalTimeoutConstant; }
    void setReadTotalTimeoutConstant(quint32 v) { setTimeout(m_readTotalTimeoutConstant, v); }
    // Kept for the settings' sake: a write always goes out completely.
    quint32 WriteTotalTimeoutMultiplier() const { return m_writeTotalTimeoutMultiplier; }
    void setWriteTotalTimeoutMultiplier(quint32 v) { setTimeout(m_writeTotalTimeoutMultiplier, v); }
    quint32 WriteTotalTimeoutConstant() const { return m_writeTotalTimeoutConstant; }
    void setWriteTotalTimeoutConstant(quint32 v) { setTimeout(m_writeTotalTimeoutConstant, v); }

    // Unset events drop their notifications.
    std::function<void(TComm* sender, const char* buffer, quint16 length)> OnReceiveData;
    // eventMask: 0x01 receive queue overflow, 0x02 overrun, 0x04 parity, 0x08 framing, 0x10 break.
    std::function<void(TComm* sender, quint32 eventMask)> OnReceiveError;
    // modemEvent: 8 = carrier detect changed, 4 = ring indicator.
    std::function<void(TComm* sender, quint32 modemEvent)> OnModemStateChange;
    std::function<void(TComm* sender)> OnRequestHangup;
    std::function<void(TComm* sender)> OnSendDataEmpty;

protected:
    bool event(QEvent* e) override;

private:
    template <typename T> void setLine(T& field, T value) {
        if (field == value)
            return;
        field = value;
        if (isOpen())
            ApplyLineSettings();
    }
    template <typename T> void setTimeout(T& field, T value) {
        if (field == value)
            return;
        field = value;
        if (isOpen())
            ApplyTimeouts();
    }
    void ApplyLineSettings();
    void ApplyTimeouts();
    [[noreturn]] void failOpen(const char* message, int errorNumber = 0);

    int m_fd = -1;
    std::unique_ptr<CommSession> m_session;

    QString m_commName = QStringLiteral("COM2");
    quint32 m_baudRate = 9600;
    bool m_parityCheck = false;
    bool m_outxCtsFlow = false;
    bool m_outxDsrFlow = false;
    TDtrControl m_dtrControl = TDtrControl::DtrEnable;
    bool m_dsrSensitivity = false;
    bool m_txContinueOnXoff = true;
    bool m_outxXonXoffFlow = true;
    bool m_inxXonXoffFlow = true;
    bool m_replaceWhenParityError = false;
    bool m_ignoreNullChar = false;
    TRtsControl m_rtsControl = TRtsControl::RtsEnable;
    quint16 m_xonLimit = 500;
    quint16 m_xoffLimit = 500;
    TByteSize m_byteSize = TByteSize::_8;
    TParity m_parity = TParity::None;
    TStopBits m_stopBits = TStopBits::_1;
    char m_xonChar = 17;
    char m_xoffChar = 19;
    char m_replacedChar = 0;
    quint32 m_readIntervalTimeout = 100;
    quint32 m_readTotalTimeoutMultiplier = 0;
    quint32 m_readTotalTimeoutConstant = 0;
    quint32 m_writeTotalTimeoutMultiplier = 0;
    quint32 m_writeTotalTimeoutConstant = 0;
};
