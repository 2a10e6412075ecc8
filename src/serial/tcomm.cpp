#include "serial/tcomm.h"

#include "serial/comm_line_settings.h"
#include "serial/comm_session.h"
#include "serial/posix_port.h"

#include <QFile>
#include <QtDebug>

#include <cerrno>
#include <exception>

TComm::TComm(QObject* parent) : QObject(parent) {}

// Closing here keeps the workers from posting to an object that no longer exists; notifications
// already posted die with the object, blocks included.
TComm::~TComm() {
    ClosePort();
}

void TComm::failOpen(const char* message, int errorNumber) {
    m_session.reset();
    posixport::closeDevice(m_fd);
    m_fd = -1;
    throw ECommsError(message, errorNumber);
}

void TComm::OpenPort() {
    if (isOpen())
        throw ECommsError("This serial port already opened");

    const posixport::OpenResult opened = posixport::openDevice(QFile::encodeName(m_commName));
    switch (opened.failure) {
    case posixport::OpenFailure::None:
        break;
    case posixport::OpenFailure::CannotOpen:
        throw ECommsError("Error opening serial port", opened.errorNumber);
    case posixport::OpenFailure::NotATerminal:
        throw ECommsError("File handle is not a comm handle ", opened.errorNumber);
    case posixport::OpenFailure::CannotSetup:
        throw ECommsError("Cannot setup comm buffer", opened.errorNumber);
    }

    m_fd = opened.fd;
    posixport::purge(m_fd, true, true);
    m_session = std::make_unique<CommSession>(m_fd, this);
    ApplyTimeouts();
    ApplyLineSettings();

    if (!m_session->createEvents())
        failOpen("Unable to create event", errno);
    if (!m_session->startReader())
        failOpen("Unable to create read thread");
    if (!m_session->startWriter()) {
        m_session->stopReader();
        failOpen("Unable to create write thread");
    }
}

void TComm::ClosePort() {
    if (!isOpen())
        return;
    m_session->stopReader();
    m_session->stopWriter();
    m_session.reset();
    posixport::closeDevice(m_fd);
    m_fd = -1;
}

bool TComm::WriteData(const char* data, quint16 size) {
    if (!m_session || size == 0 || data == nullptr)
        return false;
    return m_session->queueWrite(data, size);
}

bool TComm::sendQueueEmpty() const {
    return !m_session || m_session->sendQueueEmpty;
}

void TComm::ApplyLineSettings() {
    posixport::applyLineSettings(m_fd, commLineSettings(*this));
    if (m_session)
        m_session->ignoreNullChar = m_ignoreNullChar;
}

void TComm::ApplyTimeouts() {
    if (!m_session)
        return;
    m_session->readInterval = m_readIntervalTimeout;
    m_session->readTotalMultiplier = m_readTotalTimeoutMultiplier;
    m_session->readTotalConstant = m_readTotalTimeoutConstant;
}

bool TComm::event(QEvent* e) {
    CommNotice::received();
    if (e->type() != CommNotice::eventType())
        return QObject::event(e);

    auto* n = static_cast<CommNotice*>(e);
    // A handler may reassign its own event while it runs; call a copy.
    try {
        switch (n->kind) {
        case CommNotice::DataReceived:
            if (auto handler = OnReceiveData)
                handler(this, n->block.get(), n->length);
            break;
        case CommNotice::ReceiveError:
            if (auto handler = OnReceiveError)
                handler(this, n->value);
            break;
        case CommNotice::ModemStateChange:
            if (auto handler = OnModemStateChange)
                handler(this, n->value);
            break;
        case CommNotice::RequestHangup:
            if (auto handler = OnRequestHangup)
                handler(this);
            break;
        case CommNotice::SendDataEmpty:
            if (auto handler = OnSendDataEmpty)
                handler(this);
            break;
        }
    } catch (const std::exception& ex) {
        // An exception must not unwind through the event loop.
        qWarning("TComm: event handler threw: %s", ex.what());
    }
    return true;
}
