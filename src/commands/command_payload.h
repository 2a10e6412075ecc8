#pragma once

// Pieces shared by the settings command builders and decoders. Builders assemble the payload
// as bytes and write it into the frame text once, so each field's width is visible in one place.

#include "codec/command_frame.h"
#include "commands/entry_refused.h"

#include <QDate>
#include <QTime>

namespace payload {

// The command text: address, constant piece, payload bytes as hex text, sum and end.
HexText frame(int address, const char* piece, QByteArrayView bytes = {});

// The text's GBK bytes followed by zero bytes up to width. A text with more bytes than the
// field holds is refused (EntryRefused::TooLong), never cut.
QByteArray gbkText(const QString& text, int width, EntryField field);

// Bytes kept from an instrument's answer, written back: exactly width bytes, zero-padded.
QByteArray fixedBytes(QByteArrayView bytes, int width);

// Six BCD bytes: year of the century, month, day, hour, minute, second.
QByteArray bcdClock(QDate date, QTime time);

void appendU16(QByteArray& out, quint32 v); // low byte first
void appendU32(QByteArray& out, quint32 v); // low byte first

// The part of a received frame that fields are read from: everything before the sum and end
// byte, so neither is ever taken for a field byte. Fields beyond it read as 0.
QByteArrayView fieldArea(QByteArrayView frame);

// Bytes pos .. pos+width-1 of the field area, fewer (or none) where the frame ends early.
QByteArrayView fieldBytes(QByteArrayView frame, qsizetype pos, qsizetype width);

} // namespace payload
