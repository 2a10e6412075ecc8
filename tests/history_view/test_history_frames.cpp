#include "device/channel_format.h"
#include "history_view/channel_colors.h"
#include "history_view/history_grid.h"
#include "history_view/history_plot.h"

#include <QtTest>
#include <QtWidgets>
#include <qcustomplot.h>

#include <cmath>

class TestHistoryFrames : public QObject {
    Q_OBJECT
private slots:
    void plotReset();
    void plotGapsBreakLines();
    void plotToolbar();
    void plotSavesFiles();
    void tableHoldsAFullDownload();
    void gridStartGeometry();
};

void TestHistoryFrames::plotReset() {
    HistoryPlot plot;
    DeviceStatus s;
    s.channels[0] = {0, 0, 0, 0, 0, 1, 1, 2};
    s.channels[2] = {0, 0, 0, 0, 0, 2, 2, 2};
    plot.aInitPlot(8);
    plot.addPoint(0, QDateTime(QDate(2024, 3, 5), QTime(7, 0)), 21.5);
    plot.aInitPlot(3, s); // the second call replaces the first

    QCustomPlot* c = plot.chart();
    QCOMPARE(plot.seriesCount(), 9);
    QCOMPARE(c->legend->itemCount(), 3);
    for (int k = 0; k < 3; ++k) {
        QCOMPARE(c->legend->item(k), c->legend->itemWithPlottable(c->graph(3 * k)));
        for (int j = 0; j < 3; ++j) {
            QCOMPARE(c->graph(3 * k + j)->pen().color(), aChannelColor(k));
            QCOMPARE(c->graph(3 * k + j)->pen().width(), 2);
            QVERIFY(c->graph(3 * k + j)->data()->isEmpty());
        }
    }
    QCOMPARE(aChannelColor(1), QColor(Qt::red));
    QCOMPARE(c->graph(1)->name(), QStringLiteral("FineLine         1温度AlarmDown<℃>"));
    QCOMPARE(c->graph(8)->name(), QStringLiteral("FineLine         3湿度AlarmUp<%RH>"));
    QCOMPARE(c->yAxis->range().lower, -50.0);
    QCOMPARE(c->yAxis->range().upper, 150.0);
    QCOMPARE(c->interactions(), QCP::Interactions());
    QVERIFY(c->legend->visible());
    QCOMPARE(c->legend->brush().color(), QColor(Qt::white));
    QCOMPARE(c->legend->brush().style(), Qt::SolidPattern);
    auto ticker = c->xAxis->ticker().dynamicCast<QCPAxisTickerDateTime>();
    QVERIFY(ticker);
    QCOMPARE(ticker->dateTimeFormat(), QStringLiteral("M/d hh:mm:ss"));
    for (QCPAxis* a : {c->xAxis, c->yAxis}) {
        QVERIFY(a->grid()->visible());
        QCOMPARE(a->tickLabelColor(), QColor(Qt::black));
        QVERIFY(a->label().isEmpty());
    }

    plot.aInitPlot(0);
    QCOMPARE(plot.seriesCount(), 0);
    QCOMPARE(c->legend->itemCount(), 0);
    QVERIFY(c->legend->visible());
}

void TestHistoryFrames::plotGapsBreakLines() {
    HistoryPlot plot;
    plot.aInitPlot(1);
    const QDateTime t0(QDate(2013, 5, 7), QTime(14, 3, 9), Qt::UTC);
    plot.addPoint(0, t0, 1.5);
    plot.addGap(0, t0.addSecs(60));
    plot.addPoint(0, t0.addSecs(120), 2.5);
    plot.setTimeAxis(t0, 3600);
    QCPGraph* g = plot.chart()->graph(0);
    QCOMPARE(g->data()->size(), 3);
    auto it = g->data()->constBegin();
    QCOMPARE(it->key, double(t0.toSecsSinceEpoch()));
    QCOMPARE(it->value, 1.5);
    QVERIFY(std::isnan((it + 1)->value)); // QCustomPlot ends a line at a NaN value
    QCOMPARE((it + 2)->value, 2.5);
    QCOMPARE(plot.chart()->xAxis->range().lower, double(t0.toSecsSinceEpoch()));
    QCOMPARE(plot.chart()->xAxis->range().size(), 3600.0);
    QVERIFY(g->adaptiveSampling());
}

void TestHistoryFrames::plotToolbar() {
    HistoryPlot plot;
    plot.aInitPlot(2);
    QStringList names;
    for (QAction* a : plot.toolBar()->actions())
        names << a->objectName();
    QCOMPARE(names, QStringList({"resumeTrackingAction", "zoomBoxAction", "cursorAction", "saveAction",
                                 "printAction", "printPreviewAction"}));
    plot.toolBar()->actions().at(1)->trigger();
    QCOMPARE(plot.chart()->selectionRectMode(), QCP::srmZoom);
    plot.toolBar()->actions().at(1)->trigger();
    QCOMPARE(plot.chart()->selectionRectMode(), QCP::srmNone);

    // Resume tracking brings the data back into view after the axes were moved away.
    const QDateTime t0(QDate(2024, 1, 1), QTime(0, 0), Qt::UTC);
    plot.addPoint(0, t0, 10);
    plot.addPoint(0, t0.addSecs(600), 20);
    plot.setTimeAxis(t0.addDays(30), 60);
    plot.toolBar()->actions().at(0)->trigger();
    QVERIFY(plot.chart()->xAxis->range().contains(double(t0.toSecsSinceEpoch())));
}

void TestHistoryFrames::plotSavesFiles() {
    HistoryPlot plot;
    plot.resize(600, 400);
    plot.aInitPlot(1);
    plot.addPoint(0, QDateTime(QDate(2024, 1, 1), QTime(0, 0)), 10);
    QTemporaryDir dir;
    for (const char* name : {"c.png", "c.jpg", "c.pdf"}) {
        const QString path = dir.filePath(name);
        QVERIFY2(plot.saveToFile(path), name);
        QVERIFY2(QFileInfo(path).size() > 0, name);
    }
}

void TestHistoryFrames::tableHoldsAFullDownload() {
    HistoryTableModel m;
    const int rows = 100001, cols = 10;
    QVector<QStringList> columns(cols);
    for (int c = 0; c < cols; ++c) {
        columns[c].reserve(rows);
        for (int r = 0; r < rows; ++r)
            columns[c] << QString::number(r * 10 + c);
    }
    QSignalSpy reset(&m, &QAbstractItemModel::modelReset);
    m.setColumns(std::move(columns), rows);
    QCOMPARE(reset.count(), 1);
    QCOMPARE(m.rowCount(), rows);
    QCOMPARE(m.columnCount(), cols);
    QCOMPARE(m.data(m.index(100000, 9)).toString(), QStringLiteral("1000009"));
    QCOMPARE(m.text(0, 0), QStringLiteral("0"));
    QCOMPARE(m.text(rows, 0), QString()); // outside: empty, never a crash
    QCOMPARE(m.text(0, cols), QString());
    m.setText(-1, 0, "x");
    m.setText(0, 99, "x");

    // Short columns read as empty cells; long ones are cut to the row count.
    m.setColumns({{"a"}, {"1", "2", "3", "4"}}, 3);
    QCOMPARE(m.text(2, 0), QString());
    QCOMPARE(m.text(2, 1), QStringLiteral("3"));
    QCOMPARE(m.text(3, 1), QString());
    m.setText(2, 0, "z");
    QCOMPARE(m.text(2, 0), QStringLiteral("z"));
}

void TestHistoryFrames::gridStartGeometry() {
    HistoryGrid grid;
    grid.aStringGridInit();
    QCOMPARE(grid.model()->rowCount(), 2);
    QCOMPARE(grid.model()->columnCount(), 10);
    QCOMPARE(grid.columnWidth(0), 35);
    QCOMPARE(grid.columnWidth(1), 120);
    for (int c = 2; c < 10; ++c)
        QCOMPARE(grid.columnWidth(c), 90);
    QCOMPARE(grid.rowHeight(0), 16);
    QCOMPARE(grid.rowHeight(1), 16);
}

QTEST_MAIN(TestHistoryFrames)
#include "test_history_frames.moc"
