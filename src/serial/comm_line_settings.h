#pragma once

#include "serial/posix_port.h"

class TComm;

// What the component's properties ask of the terminal layer.
posixport::LineSettings commLineSettings(const TComm& comm);
