#include "serial/port_list.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace {

// The 8250 driver registers a device for every possible port; only those whose UART it found
// have a type other than 0 ("unknown").
bool uartTypeKnown(const QString& ttyDir) {
    QFile type(ttyDir + QStringLiteral("/type"));
    if (!type.open(QIODevice::ReadOnly))
        return true; // drivers without the attribute only register ports that exist
    bool ok = false;
    const int value = type.read(32).trimmed().toInt(&ok);
    return !ok || value != 0;
}

} // namespace

QStringList systemSerialPorts() {
    return serialPortsIn(QStringLiteral("/sys/class/tty"));
}

QStringList serialPortsIn(const QString& sysClassTty) {
    QDir dir(sysClassTty);
    if (!dir.exists())
        throw std::runtime_error("the kernel's tty list cannot be read");

    QStringList names;
    const QStringList entries = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
    for (const QString& name : entries) {
        const QString ttyDir = dir.filePath(name);
        // Virtual terminals, pseudo-terminals and the console have no device behind them.
        if (!QFileInfo::exists(ttyDir + QStringLiteral("/device")))
            continue;
        if (!uartTypeKnown(ttyDir))
            continue;
        names.append(name);
    }
    return names;
}
