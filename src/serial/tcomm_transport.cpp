#include "serial/tcomm_transport.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

TCommTransport::TCommTransport(TComm& comm) : m_comm(comm) {
    m_comm.OnReceiveData = [this](TComm*, const char* buffer, quint16 length) {
        deliver(QByteArrayView(buffer, length));
    };
}

void TCommTransport::applyFormValues(TComm& comm) {
    comm.setCommName(QStringLiteral("COM2"));
    comm.setBaudRate(9600);
    comm.setParityCheck(false);
    comm.setOutx_CtsFlow(false);
    comm.setOutx_DsrFlow(false);
    comm.setDtrControl(TDtrControl::DtrEnable);
    comm.setDsrSensitivity(false);
    comm.setTxContinueOnXoff(true);
    comm.setOutx_XonXoffFlow(false);
    comm.setInx_XonXoffFlow(true);
    comm.setReplaceWhenParityError(false);
    comm.setIgnoreNullChar(false);
    comm.setRtsControl(TRtsControl::RtsEnable);
    comm.setXonLimit(500);
    comm.setXoffLimit(500);
    comm.setByteSize(TByteSize::_8);
    comm.setParity(TParity::None);
    comm.setStopBits(TStopBits::_1);
    comm.setXonChar(17);
    comm.setXoffChar(19);
    comm.setReplacedChar(0);
    comm.setReadIntervalTimeout(100);
    comm.setReadTotalTimeoutMultiplier(0);
    comm.setReadTotalTimeoutConstant(0);
    comm.setWriteTotalTimeoutMultiplier(0);
    comm.setWriteTotalTimeoutConstant(0);
}

void TCommTransport::applyLinkDefaults() {
    m_comm.setBaudRate(9600);
    m_comm.setByteSize(TByteSize::_8);
    m_comm.setStopBits(TStopBits::_1);
    m_comm.setParityCheck(false);
    m_comm.setOutx_CtsFlow(false);
    m_comm.setOutx_DsrFlow(false);
    m_comm.setInx_XonXoffFlow(false);
    m_comm.setOutx_XonXoffFlow(false);
    m_comm.setXonChar(0);
    m_comm.setXoffChar(0);
    m_comm.setReadIntervalTimeout(128);
}

void TCommTransport::openPort() {
    try {
        m_comm.OpenPort();
    } catch (const ECommsError& e) {
        throw std::runtime_error(portOpenProblem(m_comm.CommName(), e.errorNumber()).toStdString());
    }
}

SendResult TCommTransport::send(const QByteArray& bytes) {
    // One queued block holds at most 65535 bytes; longer texts go as several blocks in order.
    bool ok = !bytes.isEmpty();
    for (qsizetype at = 0; at < bytes.size(); at += 0xFFFF) {
        const qsizetype n = qMin<qsizetype>(0xFFFF, bytes.size() - at);
        ok = m_comm.WriteData(bytes.constData() + at, quint16(n)) && ok;
    }
    return ok ? SendResult::Sent : SendResult::Failed;
}

QString portOpenProblem(const QString& path, int errorNumber) {
    const QByteArray p = path.toLocal8Bit();
    struct stat st {};
    if (errorNumber == ENOENT || ::stat(p.constData(), &st) != 0)
        return QStringLiteral("串口 %1 不存在：请检查串口设备是否已插好").arg(path);
    if (errorNumber == EACCES || errorNumber == EPERM || ::access(p.constData(), R_OK | W_OK) != 0)
        return QStringLiteral("无权打开 %1：请把当前用户加入 dialout 组（sudo usermod -aG dialout $USER），"
                              "然后注销并重新登录")
            .arg(path);
    if (errorNumber == EBUSY)
        return QStringLiteral("串口 %1 正被其他程序占用").arg(path);
    if (errorNumber != 0)
        return QStringLiteral("无法打开串口 %1：%2")
            .arg(path, QString::fromLocal8Bit(std::strerror(errorNumber)));
    return QStringLiteral("无法打开串口 %1").arg(path);
}
