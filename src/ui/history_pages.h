#pragma once

#include "ui/page.h"

class HistoryGrid;
class HistoryPlot;

// TabSheet5 "历史数据": the history table.
class HistoryTablePage : public Page {
    Q_OBJECT
public:
    explicit HistoryTablePage(const PageContext& context, QWidget* parent = nullptr);
    HistoryGrid* StringGrid2;
};

// TabSheet6 "历史曲线": the history curve.
class HistoryCurvePage : public Page {
    Q_OBJECT
public:
    explicit HistoryCurvePage(const PageContext& context, QWidget* parent = nullptr);
    HistoryPlot* Plot1;
};
