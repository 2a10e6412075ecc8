#pragma once

#include <QStringList>

#include <functional>

// Where a port list comes from. A lister that throws means "no answer".
using PortLister = std::function<QStringList()>;

// Replaces `list` with the lister's names sorted as text without regard to case ("COM10" comes
// before "COM2"). When the lister throws, `list` is left as it was.
void aComPortsNum(QStringList& list, const PortLister& lister);
