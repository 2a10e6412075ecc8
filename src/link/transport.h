#pragma once

// The one seam between the link and the media it talks over: the serial port, the TCP server's
// first connection and the TCP client. Each medium sends bytes and hands what it receives to the
// receiver the link installs; the link alone decides which medium a command goes over.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

enum class SendResult {
    Sent,
    NoPeer, // the medium is up but nobody is there to answer (a server with no instrument connected)
    Failed, // not open, or the write failed; ends like a lost answer
};

class Transport {
public:
    using Receiver = std::function<void(QByteArrayView bytes)>;

    virtual ~Transport() = default;
    virtual SendResult send(const QByteArray& bytes) = 0;
    void setReceiver(Receiver receiver) { m_receiver = std::move(receiver); }

protected:
    void deliver(QByteArrayView bytes) const {
        if (m_receiver)
            m_receiver(bytes);
    }

private:
    Receiver m_receiver;
};

// The serial port adds what the link sets up on it.
class SerialTransport : public Transport {
public:
    virtual void setCommName(const QString& deviceName) = 0;
    // Throws std::exception (with the cause in what()) when the device cannot be opened.
    virtual void openPort() = 0;
    virtual void closePort() = 0;
    virtual void setBaudRate(quint32 rate) = 0;
    virtual void setReadIntervalTimeout(quint32 ms) = 0;
    // 9600 8N1, no flow control of any kind, XON/XOFF characters 0, read interval 128 ms.
    virtual void applyLinkDefaults() = 0;
};

// Serial device paths are /dev/ + the port list's item text.
inline QString serialDevicePath(const QString& portName) {
    return QStringLiteral("/dev/") + portName;
}
