#include "history_view/history_plot.h"

#include "device/channel_format.h"
#include "history_view/channel_colors.h"

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

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("Plot1ToolBar"));
    m_chart = new QCustomPlot(this);
    m_chart->setObjectName(QStringLiteral("Plot1Chart"));
    layout->addWidget(m_toolBar);
    layout->addWidget(m_chart, 1);

    connect(addToolAction(m_toolBar, "resumeTrackingAction", QStringLiteral("恢复跟踪")), &QAction::triggered,
            this, &HistoryPlot::resumeTracking);
    m_zoomAction = addToolAction(m_toolBar, "zoomBoxAction", QStringLiteral("缩放框"));
    m_zoomAction->setCheckable(true);
    connect(m_zoomAction, &QAction::toggled, this, &HistoryPlot::setZoomBox);
    m_cursorAction = addToolAction(m_toolBar, "cursorAction", QStringLiteral("光标"));
    m_cursorAction->setCheckable(true);
    connect(m_cursorAction, &QAction::toggled, this, &HistoryPlot::setCursorReadout);
    connect(addToolAction(m_toolBar, "saveAction", QStringLiteral("保存")), &QAction::triggered, this,
            &HistoryPlot::chooseFileAndSave);
    connect(addToolAction(m_toolBar, "printAction", QStringLiteral("打印")), &QAction::triggered, this,
            &HistoryPlot::print);
    connect(addToolAction(m_toolBar, "printPreviewAction", QStringLiteral("打印预览")), &QAction::triggered,
            this, &HistoryPlot::printPreview);

    connect(m_chart, &QCustomPlot::mouseMove, this, &HistoryPlot::showCursor);
}

void HistoryPlot::removeAllSeries() {
    m_chart->clearGraphs();
}

int HistoryPlot::addSeries() {
    m_chart->addGraph(m_chart->xAxis, m_chart->yAxis);
    return m_chart->graphCount() - 1;
}

int HistoryPlot::seriesCount() const {
    return m_chart->graphCount();
}

void HistoryPlot::setSeriesColor(int series, const QColor& color) {
    if (QCPGraph* g = m_chart->graph(series)) {
        QPen pen = g->pen();
        pen.setColor(color);
        g->setPen(pen);
    }
}

void HistoryPlot::setSeriesWidth(int series, int width) {
    if (QCPGraph* g = m_chart->graph(series)) {
        QPen pen = g->pen();
        pen.setWidth(width);
        g->setPen(pen);
    }
}

void HistoryPlot::setSeriesTitle(int series, const QString& title) {
    if (QCPGraph* g = m_chart->graph(series))
        g->setName(title);
}

void HistoryPlot::setSeriesInLegend(int series, bool shown) {
    if (QCPGraph* g = m_chart->graph(series)) {
        if (shown)
            g->addToLegend();
        else
            g->removeFromLegend();
    }
}

void HistoryPlot::addPoint(int series, const QDateTime& time, double value) {
    if (QCPGraph* g = m_chart->graph(series))
        g->addData(QCPAxisTickerDateTime::dateTimeToKey(time), value);
}

void HistoryPlot::addGap(int series, const QDateTime& time) {
    addPoint(series, time, std::nan(""));
}

void HistoryPlot::setTimeAxis(const QDateTime& minimum, double spanSeconds) {
    const double key = QCPAxisTickerDateTime::dateTimeToKey(minimum);
    m_chart->xAxis->setRange(key, key + spanSeconds);
}

void HistoryPlot::setValueAxis(double minimum, double span) {
    m_chart->yAxis->setRange(minimum, minimum + span);
}

void HistoryPlot::aInitPlot(int channelCount, const DeviceStatus& status) {
    removeAllSeries();
    m_chart->setInteractions(QCP::Interactions()); // the axes do not follow the mouse

    QSharedPointer<QCPAxisTickerDateTime> ticker(new QCPAxisTickerDateTime);
    ticker->setDateTimeFormat(QStringLiteral("M/d hh:mm:ss"));
    m_chart->xAxis->setTicker(ticker);
    for (QCPAxis* axis : {m_chart->xAxis, m_chart->yAxis}) {
        axis->grid()->setVisible(true);
        axis->setTickLabelColor(Qt::black);
        axis->setLabel(QString());
    }
    m_chart->axisRect()->setRangeZoomAxes(m_chart->xAxis, m_chart->yAxis);
    m_chart->legend->setVisible(true);
    m_chart->legend->setBrush(QBrush(Qt::white));
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
    if (m_cursorText)
        m_cursorText->setVisible(false);
    if (m_cursorLine)
        m_cursorLine->setVisible(false);
    m_chart->replot();
}

void HistoryPlot::resumeTracking() {
    bool any = false;
    for (int i = 0; i < m_chart->graphCount(); ++i)
        any = any || !m_chart->graph(i)->data()->isEmpty();
    if (any)
        m_chart->rescaleAxes(true);
    m_chart->replot();
}

void HistoryPlot::setZoomBox(bool on) {
    m_chart->setSelectionRectMode(on ? QCP::srmZoom : QCP::srmNone);
    if (m_zoomAction->isChecked() != on)
        m_zoomAction->setChecked(on);
}

void HistoryPlot::setCursorReadout(bool on) {
    if (m_cursorAction->isChecked() != on)
        m_cursorAction->setChecked(on);
    if (on && !m_cursorLine) {
        m_cursorLine = new QCPItemStraightLine(m_chart);
        m_cursorLine->setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
        m_cursorText = new QCPItemText(m_chart);
        m_cursorText->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_cursorText->position->setType(QCPItemPosition::ptAxisRectRatio);
        m_cursorText->position->setCoords(0.01, 0.01);
        m_cursorText->setBrush(QBrush(Qt::white));
        m_cursorText->setPadding(QMargins(4, 2, 4, 2));
    }
    if (m_cursorLine) {
        m_cursorLine->setVisible(false);
        m_cursorText->setVisible(false);
    }
    m_chart->setMouseTracking(on);
    m_chart->replot();
}

void HistoryPlot::showCursor(QMouseEvent* event) {
    if (!m_cursorAction->isChecked() || !m_cursorLine)
        return;
    const double key = m_chart->xAxis->pixelToCoord(event->position().x());
    const double value = m_chart->yAxis->pixelToCoord(event->position().y());
    m_cursorLine->point1->setCoords(key, 0);
    m_cursorLine->point2->setCoords(key, 1);
    m_cursorText->setText(QCPAxisTickerDateTime::keyToDateTime(key).toString(QStringLiteral("M/d hh:mm:ss")) +
                          QStringLiteral("   ") + QString::number(value, 'f', 2));
    m_cursorLine->setVisible(true);
    m_cursorText->setVisible(true);
    m_chart->replot(QCustomPlot::rpQueuedReplot);
}

bool HistoryPlot::saveToFile(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        return m_chart->savePdf(fileName);
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return m_chart->saveJpg(fileName);
    return m_chart->savePng(fileName);
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
    const int width = m_chart->viewport().width(), height = m_chart->viewport().height();
    if (width <= 0 || height <= 0)
        return;
    const double scale = qMin(page.width() / width, page.height() / height);
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    painter.scale(scale, scale);
    m_chart->toPainter(&painter, width, height);
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
