#pragma once

// The history curve: a QCustomPlot behind the few operations the window uses, with the
// toolbar the operator works it with.

#include "device/device_status.h"

#include <QColor>
#include <QDateTime>
#include <QWidget>

class QAction;
class QCustomPlot;
class QCPItemStraightLine;
class QCPItemText;
class QMouseEvent;
class QPrinter;
class QToolBar;

class HistoryPlot : public QWidget {
    Q_OBJECT
public:
    explicit HistoryPlot(QWidget* parent = nullptr);

    // Series: index 3k is channel k's data, 3k + 1 and 3k + 2 its alarm limits.
    void removeAllSeries();
    int addSeries(); // returns the new (last) index
    int seriesCount() const;
    void setSeriesColor(int series, const QColor& color);
    void setSeriesWidth(int series, int width);
    void setSeriesTitle(int series, const QString& title);
    void setSeriesInLegend(int series, bool shown);
    // Points are added in time order; a gap is a time without a value and breaks the line.
    void addPoint(int series, const QDateTime& time, double value);
    void addGap(int series, const QDateTime& time);
    void setTimeAxis(const QDateTime& minimum, double spanSeconds);
    void setValueAxis(double minimum, double span);

    // Resets the chart for channelCount channels (names of the limit series from status).
    void aInitPlot(int channelCount, const DeviceStatus& status = DeviceStatus{});

    // Toolbar operations.
    void resumeTracking();
    void setZoomBox(bool on);
    void setCursorReadout(bool on);
    bool saveToFile(const QString& fileName); // format by suffix: png, jpg/jpeg, pdf
    void print();
    void printPreview();

    QCustomPlot* chart() const { return m_chart; }
    QToolBar* toolBar() const { return m_toolBar; }

private:
    void chooseFileAndSave();
    void render(QPrinter* printer);
    void showCursor(QMouseEvent* event);

    QToolBar* m_toolBar = nullptr;
    QCustomPlot* m_chart = nullptr;
    QAction* m_zoomAction = nullptr;
    QAction* m_cursorAction = nullptr;
    QCPItemStraightLine* m_cursorLine = nullptr;
    QCPItemText* m_cursorText = nullptr;
};
