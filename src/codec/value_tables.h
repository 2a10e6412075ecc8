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
// Start and stop modes: the texts as the connect response names them, the values the codes the
// recording parameters send.
const ValueTable& startModes(); // "立即启动" 1, "定时启动" 2, "手动启动" 3
const ValueTable& stopModes();  // "先进先出" 3, "记满停止" 1, "手动停止" 4, "定时停止" 2
// The items whose pickers hold the date and time.
inline constexpr int TimedStartItem = 1;
inline constexpr int TimedStopItem = 3;
