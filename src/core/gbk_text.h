#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Instruments and files carry text as GBK bytes; inside the program text is QString.
// Every crossing between the two goes through these helpers.

// Decodes GBK bytes up to the first zero byte (fixed-width fields are zero-padded).
QString gbkToString(QByteArrayView bytes);

// Encodes text as GBK bytes (characters GBK cannot hold become '?').
QByteArray stringToGbk(const QString& text);

// Number of GBK bytes the text occupies: the width that counts in a fixed-width field.
int gbkByteLength(const QString& text);

// Encodes text as GBK and pads with zero bytes (or cuts) to exactly width bytes.
// A cut never leaves half of a two-byte character behind.
QByteArray gbkField(const QString& text, int width);
