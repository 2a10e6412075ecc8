#pragma once

// Misbehaviour on demand, so the program's resend, join and time-out rules can be exercised
// against the byte stream they are meant for.

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

struct SimFault {
    enum class Kind {
        Split2,         // the answer in two pieces with a pause between them
        Split3,         // the answer in three pieces
        WrongSum,       // checksum (or Modbus CRC) off by one
        ExtraByte,      // one byte more after the end byte
        Silence,        // no answer, for `count` answers in a row
        ForeignAddress, // answered from another address (frame and checksum otherwise valid)
        HangUp,         // the line is closed instead of answering
        FailResult,     // the command is refused: nothing changes and the result byte says failure;
                        // answers without a result byte pass it over to the next one that has one
    };

    Kind kind = Kind::Silence;
    int atRequest = 0;       // 0: the next answer; k: the answer to request number k (1-based)
    int count = 1;           // Silence: answers held back
    int pauseMs = 300;       // Split2/Split3: pause between pieces, above the program's 128 ms read interval
    int foreignAddress = -1; // ForeignAddress: -1 takes the own address + 1

    static SimFault next(Kind kind, int count = 1);
    static SimFault atRequestNumber(int request, Kind kind, int count = 1);

    // "split2", "split3", "wrong-sum", "extra-byte", "silence", "foreign-address", "hang-up",
    // "fail-result", optionally followed by ":N" (silence count, split pause in ms, or the foreign address)
    // and
    // "@K" (request number):
    // "silence:3", "split2:500@4".
    static std::optional<SimFault> fromText(const QString& text);
    static QString kindName(Kind kind);
    static QStringList kindNames();
};

// What goes on the line for one answer after the faults that apply to it.
struct ShapedAnswer {
    QList<QByteArray> pieces; // sent in order with pauseMs between them
    int pauseMs = 0;
    bool hangUp = false; // close the line instead (pieces is empty)
};

// Pure: answer bytes and the faults that apply to them -> what the line carries.
// modbus: the answer is a Modbus frame (address first, CRC last) rather than 0xBB … 0xDD.
ShapedAnswer shapeAnswer(const QByteArray& answer, bool modbus, const QList<SimFault>& faults);

// Takes the faults that apply to the answer to request number `request` out of `pending`:
// those tied to that number, otherwise the oldest "next answer" one. A silence that lasts for
// more answers stays pending for the following one. A fail-result fault applies only when
// the answer has a result byte (hasResult); otherwise it stays pending.
QList<SimFault> takeFaultsFor(QList<SimFault>& pending, int request, bool hasResult);
