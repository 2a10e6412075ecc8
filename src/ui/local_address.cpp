#include "ui/local_address.h"

#include <QNetworkInterface>

QString localIpv4Address() {
    for (const QHostAddress& a : QNetworkInterface::allAddresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback())
            return a.toString();
    return QStringLiteral("0.0.0.0");
}
