// Renders every page of the main window to PNG files, for looking at the layout without
// a display: render-pages <folder> [--demo-status]

#include "ui/form1.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTextStream>

namespace {

// A plausible two-channel logger, so the information page has something to show.
DeviceStatus sampleStatus() {
    DeviceStatus s;
    s.address = 1;
    s.userName = QByteArray("KORVEL").leftJustified(20, '\0');
    s.title = QByteArray("\xce\xc2\xca\xaa\xb6\xc8\xbc\xc7\xc2\xbc\xd2\xc7").leftJustified(20, '\0');  // 温湿度记录仪
    s.model = QByteArray("KV20-2TH").leftJustified(10, '\0');
    s.serialNumber = "110501001";
    s.firmwareText = QStringLiteral("140");
    s.firmwareNumberText = QStringLiteral("140");
    s.recordCount = 1234;
    s.capacity = 16000;
    s.recordInterval = 600;
    s.startModeText = QStringLiteral("定时启动");
    s.stopModeText = QStringLiteral("先进先出");
    s.workStateText = QStringLiteral("正在记录");
    s.batteryText = QStringLiteral("电量正常");
    s.upgradable = 1;
    s.firmwareSeries = 1;
    s.featureFlags = 0x89;
    s.featureFlags2 = 0x01;
    s.pNumber = 3;
    s.startTime = {24, 3, 5, 7, 8, 9};
    s.timedStartTime = {24, 12, 31, 23, 59, 58};
    s.channelCount = 2;
    s.channels[0] = {0, 305, 1, -400, 850, 1, 1, 2};
    s.channels[1] = {200, 900, 0, 0, 1000, 2, 2, 2};
    return s;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvel"));
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        err << "usage: render-pages <folder> [--demo-status]\n";
        return 2;
    }
    const QDir folder(args.at(1));
    if (!QDir().mkpath(folder.path())) {
        err << "cannot create " << folder.path() << "\n";
        return 1;
    }

    TForm1 window;
    if (args.contains(QStringLiteral("--demo-status"))) {
        window.deviceStatus() = sampleStatus();
        window.aLogStateDisplay(42);
    }
    window.show();
    QApplication::processEvents();

    QTabWidget* pages = window.PageControl1;
    int failures = 0;
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        QApplication::processEvents();
        const QString path = folder.filePath(QStringLiteral("%1_%2.png").arg(i + 1).arg(pages->widget(i)->objectName()));
        if (window.grab().save(path)) {
            const QSize hint = pages->widget(i)->minimumSizeHint();
            QTextStream(stdout) << path << "  (window " << window.width() << "x" << window.height() << ", page needs at least "
                                << hint.width() << "x" << hint.height() << ")\n";
        } else {
            err << "cannot write " << path << "\n";
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
