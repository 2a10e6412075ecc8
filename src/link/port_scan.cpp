#include "link/port_scan.h"

#include <algorithm>
#include <exception>

void aComPortsNum(QStringList& list, const PortLister& lister) {
    QStringList found;
    try {
        found = lister ? lister() : QStringList();
    } catch (const std::exception&) {
        return;
    }
    std::stable_sort(found.begin(), found.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    list = found;
}
