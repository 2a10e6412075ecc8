#pragma once

#include <QString>

// A pseudo-terminal pair: the master end is what a simulated instrument (or a test) holds,
// the slave path is what the program opens as if it were a serial device.
class PtyPair {
public:
    PtyPair(); // opens a new pair in raw mode; check isOpen()
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool isOpen() const { return m_master >= 0; }
    int masterFd() const { return m_master; }
    // Path of the slave end, e.g. /dev/pts/7.
    QString slavePath() const { return m_slavePath; }
    // Name relative to /dev ("pts/7"), the form a port list holds.
    QString slaveName() const;

    // Closes the master end: the slave side sees a hang-up, as when a USB adapter is pulled.
    void closeMaster();

private:
    int m_master = -1;
    int m_slaveKeepAlive = -1; // keeps the slave configured while nobody else has it open
    QString m_slavePath;
};
