#pragma once

// An operator's entry that a builder refuses: a text with more bytes than its field holds, a
// number that does not fit its field, or typed text that selects no item of a list. Nothing may
// be sent then; the handler catches this and shows message() in one message box.
//
// Entries that are not numbers at all raise ConversionError instead, as everywhere else.

#include <QString>

#include <stdexcept>

enum class EntryField {
    UserName,
    Title,
    Model,
    SerialNumber,
    NewAddress,
    StartMode,
    StopMode,
    StartDelay,
    ServerPort,
    PowerMode,
    HostName,
};

// The field's name as the operator knows it from its label ("用户名", "端口", …).
QString entryFieldName(EntryField field);

class EntryRefused : public std::runtime_error {
public:
    enum Reason {
        TooLong,    // limit() is the field's width in GBK bytes
        OutOfRange, // the value must lie in lowest() .. limit()
        NoItem,     // the list's text selects none of its items
    };

    EntryRefused(EntryField field, Reason reason, qint64 limit = 0, qint64 lowest = 0);

    EntryField field() const { return m_field; }
    Reason reason() const { return m_reason; }
    qint64 limit() const { return m_limit; }
    qint64 lowest() const { return m_lowest; }

    // One line naming the field and its limit, e.g. "用户名过长：最多20个字节（一个汉字占2个字节）".
    // A port out of range reads "数值输入有误！", the text operators already know for it.
    QString message() const;

private:
    EntryField m_field;
    Reason m_reason;
    qint64 m_limit;
    qint64 m_lowest;
};
