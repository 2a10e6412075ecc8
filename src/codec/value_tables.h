#pragma once

// The fixed lists behind combo boxes: each item's text and the number it stands for on the
// wire. One table fills the control and maps both ways, so a list is written once.

#include <QString>
#include <QStringList>

#include <initializer_list>
#include <optional>
#include <vector>

struct ValueItem {
    QString text;
    qint64 value;
};

class ValueTable {
public:
    ValueTable(std::initializer_list<ValueItem> items) : m_items(items) {}

    int size() const { return int(m_items.size()); }
    QStringList texts() const;
    // -1 when no item has it.
    int indexOfValue(qint64 value) const;
    int indexOfText(const QString& text) const;
    // Nothing for an index outside the table (the blank last item of a box, or none selected).
    std::optional<qint64> valueAt(int index) const;

private:
    std::vector<ValueItem> m_items;
};

// Recording intervals, in seconds: "2秒" … "10天".
const ValueTable& recordingIntervals();
// Start and stop modes as the connect response names them; the value is the item index.
const ValueTable& startModes();
const ValueTable& stopModes();
