#include "history/history_plot.h"

#include "device/channel_format.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>
#include <qcustomplot.h>

#include <cmath>

namespace {

QAction* addToolAction(QToolBar* bar, const char* name, const QString& text) {
    QAction* a = bar->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

} // namespace

HistoryPlot::HistoryPlot(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("Plot1ToolBar"));
    chart_ = new QCustomPlot(this);
    chart_->setObjectName(QStringLiteral("Plot1Chart"));
    layout->addWidget(toolBar_);
    layout->addWidget(chart_, 1);

    connect(addToolAction(toolBar_, "resumeTrackingAction", QStringLiteral("恢复跟踪")), &QAction::triggered,
            this, &HistoryPlot::resumeTracking);
    zoomAction_ = addToolAction(toolBar_, "zoomBoxAction", QStringLiteral("缩放框"));
    zoomAction_->setCheckable(true);
    connect(zoomAction_, &QAction::toggled, this, &HistoryPlot::setZoomBox);
    cursorAction_ = addToolAction(toolBar_, "cursorAction", QStringLiteral("光标"));
    cursorAction_->setCheckable(true);
    connect(cursorAction_, &QAction::toggled, this, &HistoryPlot::setCursorReadout);
    connect(addToolAction(toolBar_, "saveAction", QStringLiteral("保存")), &QAction::triggered, this,
            &HistoryPlot::chooseFileAndSave);
    connect(addToolAction(toolBar_, "printAction", QStringLiteral("打印")), &QAction::triggered, this,
            &HistoryPlot::print);
    connect(addToolAction(toolBar_, "printPreviewAction", QStringLiteral("打印预览")), &QAction::triggered,
            this, &HistoryPlot::printPreview);

    connect(chart_, &QCustomPlot::mouseMove, this, &HistoryPlot::showCursor);
}

void HistoryPlot::removeAllSeries() {
    chart_->clearGraphs();
}

int HistoryPlot::addSeries() {
    chart_->addGraph(chart_->xAxis, chart_->yAxis);
    return chart_->graphCount() - 1;
}

int HistoryPlot::seriesCount() const {
    return chart_->graphCount();
}

void HistoryPlot::setSeriesColor(int series, const QColor& color) {
    if (QCPGraph* g = chart_->graph(series)) {
        QPen pen = g->pen();
        pen.setColor(color);
        g->setPen(pen);
    }
}

void HistoryPlot::setSeriesWidth(int series, int width) {
    if (QCPGraph* g = chart_->graph(series)) {
        QPen pen = g->pen();
        pen.setWidth(width);
        g->setPen(pen);
    }
}

void HistoryPlot::setSeriesTitle(int series, const QString& title) {
    if (QCPGraph* g = chart_->graph(series))
        g->setName(title);
}

void HistoryPlot::setSeriesInLegend(int series, bool shown) {
    if (QCPGraph* g = chart_->graph(series)) {
        if (shown)
            g->addToLegend();
        else
            g->removeFromLegend();
    }
}

void HistoryPlot::addPoint(int series, const QDateTime& time, double value) {
    if (QCPGraph* g = chart_->graph(series))
        g->addData(QCPAxisTickerDateTime::dateTimeToKey(time), value);
}

void HistoryPlot::addGap(int series, const QDateTime& time) {
    addPoint(series, time, std::nan(""));
}

void HistoryPlot::setTimeAxis(const QDateTime& minimum, double spanSeconds) {
    const double key = QCPAxisTickerDateTime::dateTimeToKey(minimum);
    chart_->xAxis->setRange(key, key + spanSeconds);
}

void HistoryPlot::setValueAxis(double minimum, double span) {
    chart_->yAxis->setRange(minimum, minimum + span);
}

void HistoryPlot::aInitPlot(int channelCount, const DeviceStatus& status) {
    removeAllSeries();
    chart_->setInteractions(QCP::Interactions()); // the axes do not follow the mouse

    QSharedPointer<QCPAxisTickerDateTime> ticker(new QCPAxisTickerDateTime);
    ticker->setDateTimeFormat(QStringLiteral("M/d hh:mm:ss"));
    chart_->xAxis->setTicker(ticker);
    for (QCPAxis* axis : {chart_->xAxis, chart_->yAxis}) {
        axis->grid()->setVisible(true);
        axis->setTickLabelColor(Qt::black);
        axis->setLabel(QString());
    }
    chart_->axisRect()->setRangeZoomAxes(chart_->xAxis, chart_->yAxis);
    chart_->legend->setVisible(true);
    chart_->legend->setBrush(QBrush(Qt::white));
    setValueAxis(-50, 200);
    setTimeAxis(QDateTime(QDate::currentDate(), QTime(0, 0)), 86400);

    for (int k = 0; k < channelCount; ++k) {
        const int kind = k < MaxChannels ? status.channels[k].kind : 0;
        const int unit = k < MaxChannels ? status.channels[k].unit : 0;
        const QString limitTitle =
            QStringLiteral("FineLine         ") + QString::number(k + 1) + aKindName(kind);
        const QString titles[] = {QStringLiteral("通道") + QString::number(k + 1),
                                  limitTitle + QStringLiteral("AlarmDown") + aUnitText(unit),
                                  limitTitle + QStringLiteral("AlarmUp") + aUnitText(unit)};
        for (int j = 0; j < 3; ++j) {
            const int s = addSeries();
            setSeriesColor(s, aChannelColor(k));
            setSeriesWidth(s, 2);
            setSeriesTitle(s, titles[j]);
            setSeriesInLegend(s, j == 0);
        }
    }
    // The cursor items hold their own place; a reset must not leave a stale read-out.
    if (cursorText_)
        cursorText_->setVisible(false);
    if (cursorLine_)
        cursorLine_->setVisible(false);
    chart_->replot();
}

void HistoryPlot::resumeTracking() {
    bool any = false;
    for (int i = 0; i < chart_->graphCount(); ++i)
        any = any || !chart_->graph(i)->data()->isEmpty();
    if (any)
        chart_->rescaleAxes(true);
    chart_->replot();
}

void HistoryPlot::setZoomBox(bool on) {
    chart_->setSelectionRectMode(on ? QCP::srmZoom : QCP::srmNone);
    if (zoomAction_->isChecked() != on)
        zoomAction_->setChecked(on);
}

void HistoryPlot::setCursorReadout(bool on) {
    if (cursorAction_->isChecked() != on)
        cursorAction_->setChecked(on);
    if (on && !cursorLine_) {
        cursorLine_ = new QCPItemStraightLine(chart_);
        cursorLine_->setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
        cursorText_ = new QCPItemText(chart_);
        cursorText_->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
        cursorText_->position->setType(QCPItemPosition::ptAxisRectRatio);
        cursorText_->position->setCoords(0.01, 0.01);
        cursorText_->setBrush(QBrush(Qt::white));
        cursorText_->setPadding(QMargins(4, 2, 4, 2));
    }
    if (cursorLine_) {
        cursorLine_->setVisible(false);
        cursorText_->setVisible(false);
    }
    chart_->setMouseTracking(on);
    chart_->replot();
}

void HistoryPlot::showCursor(QMouseEvent* event) {
    if (!cursorAction_->isChecked() || !cursorLine_)
        return;
    const double key = chart_->xAxis->pixelToCoord(event->position().x());
    const double value = chart_->yAxis->pixelToCoord(event->position().y());
    cursorLine_->point1->setCoords(key, 0);
    cursorLine_->point2->setCoords(key, 1);
    cursorText_->setText(QCPAxisTickerDateTime::keyToDateTime(key).toString(QStringLiteral("M/d hh:mm:ss")) +
                         QStringLiteral("   ") + QString::number(value, 'f', 2));
    cursorLine_->setVisible(true);
    cursorText_->setVisible(true);
    chart_->replot(QCustomPlot::rpQueuedReplot);
}

bool HistoryPlot::saveToFile(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        return chart_->savePdf(fileName);
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return chart_->saveJpg(fileName);
    return chart_->savePng(fileName);
}

void HistoryPlot::chooseFileAndSave() {
    const QString name =
        QFileDialog::getSaveFileName(this, QStringLiteral("保存曲线"), QString(),
                                     QStringLiteral("PNG 图片 (*.png);;JPG 图片 (*.jpg);;PDF 文件 (*.pdf)"));
    if (!name.isEmpty())
        saveToFile(name);
}

void HistoryPlot::render(QPrinter* printer) {
    QCPPainter painter(printer);
    const QRectF page = printer->pageRect(QPrinter::DevicePixel);
    const int width = chart_->viewport().width(), height = chart_->viewport().height();
    if (width <= 0 || height <= 0)
        return;
    const double scale = qMin(page.width() / width, page.height() / height);
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    painter.scale(scale, scale);
    chart_->toPainter(&painter, width, height);
}

void HistoryPlot::print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        render(&printer);
}

void HistoryPlot::printPreview() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintPreviewDialog dialog(&printer, this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, &HistoryPlot::render);
    dialog.exec();
}
