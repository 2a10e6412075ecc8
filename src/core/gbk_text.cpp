#include "core/gbk_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

QString gbkToString(QByteArrayView bytes) {
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes = bytes.first(zero);
    QStringDecoder decoder("GBK");
    return decoder.decode(bytes);
}

QByteArray stringToGbk(const QString& text) {
    QStringEncoder encoder("GBK", QStringConverter::Flag::Default);
    return encoder.encode(text);
}

int gbkByteLength(const QString& text) {
    return int(stringToGbk(text).size());
}

QByteArray gbkField(const QString& text, int width) {
    QByteArray out;
    out.reserve(width);
    // Encode character by character so a cut lands between characters.
    for (int i = 0; i < text.size();) {
        const int len = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QByteArray piece = stringToGbk(text.mid(i, len));
        if (out.size() + piece.size() > width)
            break;
        out += piece;
        i += len;
    }
    out.append(width - out.size(), '\0');
    return out;
}
