#pragma once

#include <QString>

// The PC's own IPv4 address as instruments on the network see it: the first address
// that is not a loopback one; "0.0.0.0" when there is none.
QString localIpv4Address();
