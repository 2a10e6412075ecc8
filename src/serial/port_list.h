#pragma once

#include <QString>
#include <QStringList>

// Names (relative to /dev, e.g. "ttyUSB0") of the serial devices this machine really has: USB
// serial and ACM adapters, and built-in UARTs whose type the kernel knows. The dozens of
// placeholder ttyS* entries of an ordinary PC are left out. Throws std::runtime_error when the
// kernel's tty list cannot be read.
QStringList systemSerialPorts();
// The same, from a tty list laid out like /sys/class/tty at `sysClassTty`.
QStringList serialPortsIn(const QString& sysClassTty);
