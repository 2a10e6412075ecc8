#pragma once

#include "link/hex_text.h"

#include <QString>

// The serial side as the link uses it. The program's implementation drives TComm;
// tests use a recording fake.
class SerialTransport {
public:
    virtual ~SerialTransport() = default;
    virtual void setCommName(const QString& deviceName) = 0;
    // Throws std::exception (with the cause in what()) when the device cannot be opened.
    virtual void openPort() = 0;
    virtual void closePort() = 0;
    virtual bool writeData(const QByteArray& bytes) = 0;
    virtual void setBaudRate(quint32 rate) = 0;
    virtual void setReadIntervalTimeout(quint32 ms) = 0;
    // 9600 8N1, no flow control of any kind, XON/XOFF characters 0, read interval 128 ms.
    virtual void applyLinkDefaults() = 0;
};

// The TCP side: both take the frame's hex text and do nothing while their socket is not connected.
class TcpTransport {
public:
    virtual ~TcpTransport() = default;
    virtual void aTcpSendStr(const HexText& text) = 0;        // client socket
    virtual void aTcpServiceSendStr(const HexText& text) = 0; // server's connection
};

// Serial device paths are /dev/ + the port list's item text.
inline QString serialDevicePath(const QString& portName) {
    return QStringLiteral("/dev/") + portName;
}
