#pragma once

#include <QColor>

// The colour of a channel's curve: blue, red, green, purple, grey, lime, magenta, olive.
QColor aChannelColor(int channelIndex);
