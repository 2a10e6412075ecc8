#pragma once

#include "link/transport.h"
#include "serial/tcomm.h"

// The link's serial side over the program's TComm, Comm1.
class TCommTransport : public SerialTransport {
public:
    // Takes over the component's receive event: every block it reads goes to the link.
    explicit TCommTransport(TComm& comm);

    // The values the window's Comm1 starts with (before the link's own settings).
    static void applyFormValues(TComm& comm);

    void setCommName(const QString& deviceName) override { m_comm.setCommName(deviceName); }
    // Throws std::runtime_error whose text tells the operator why, in the window's language.
    void openPort() override;
    void closePort() override { m_comm.ClosePort(); }
    SendResult send(const QByteArray& bytes) override;
    void setBaudRate(quint32 rate) override { m_comm.setBaudRate(rate); }
    void setReadIntervalTimeout(quint32 ms) override { m_comm.setReadIntervalTimeout(ms); }
    void applyLinkDefaults() override;

private:
    TComm& m_comm;
};

// Why a serial device could not be opened, for the status bar: missing device, missing
// dialout membership, a port held by another program.
QString portOpenProblem(const QString& path, int errorNumber);
