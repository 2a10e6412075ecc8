#include "history_view/channel_colors.h"

#include <iterator>

QColor aChannelColor(int channelIndex) {
    static const QColor colors[] = {
        QColor(0, 0, 255),     QColor(255, 0, 0), QColor(0, 128, 0),   QColor(128, 0, 128),
        QColor(128, 128, 128), QColor(0, 255, 0), QColor(255, 0, 255), QColor(128, 128, 0),
    };
    if (channelIndex < 0 || channelIndex >= int(std::size(colors)))
        return colors[0];
    return colors[channelIndex];
}
