#include "commands/command_payload.h"

#include "core/gbk_text.h"

#include <cstring>

namespace payload {

HexText frame(int address, const char* piece, QByteArrayView bytes) {
    HexText text = aBytesToHex(bytes);
    text.chop(1); // aBytesToHex ends every byte with a blank; the sum adds its own
    const qsizetype n = qsizetype(std::strlen(piece));
    if (!text.isEmpty() && (n == 0 || piece[n - 1] != ' '))
        text.prepend(' ');
    return buildCommandFrame(address, piece, text);
}

QByteArray gbkText(const QString& text, int width, EntryField field) {
    QByteArray bytes = stringToGbk(text);
    if (bytes.size() > width)
        throw EntryRefused(field, EntryRefused::TooLong, width);
    bytes.append(width - bytes.size(), '\0');
    return bytes;
}

QByteArray fixedBytes(QByteArrayView bytes, int width) {
    QByteArray out = bytes.first(qMin<qsizetype>(bytes.size(), width)).toByteArray();
    out.append(width - out.size(), '\0');
    return out;
}

QByteArray bcdClock(QDate date, QTime time) {
    const int values[6] = {date.year() % 100, date.month(),  date.day(),
                           time.hour(),       time.minute(), time.second()};
    QByteArray out;
    for (int v : values) {
        // An invalid date or time reads as -1 or 0: send zeros rather than digits that are not BCD.
        const int d = v < 0 ? 0 : v % 100;
        out += char((d / 10) << 4 | (d % 10));
    }
    return out;
}

void appendU16(QByteArray& out, quint32 v) {
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}

void appendU32(QByteArray& out, quint32 v) {
    appendU16(out, v & 0xFFFF);
    appendU16(out, v >> 16);
}

QByteArrayView fieldArea(QByteArrayView frame) {
    return frame.first(qMax<qsizetype>(0, frame.size() - 2));
}

QByteArrayView fieldBytes(QByteArrayView frame, qsizetype pos, qsizetype width) {
    const QByteArrayView area = fieldArea(frame);
    if (pos >= area.size())
        return {};
    return area.sliced(pos, qMin(width, area.size() - pos));
}

} // namespace payload
