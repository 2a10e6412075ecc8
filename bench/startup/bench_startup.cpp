// Start-up to "连接成功" on the demo instrument: how long the window takes to build, and how long
// until the start-up connect has been answered. Prints the median of a few runs.

#include "link/command_link.h"
#include "sim/simulator.h"
#include "ui/form1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QElapsedTimer sinceLaunch;
    sinceLaunch.start();
    QApplication app(argc, argv);
    const qint64 appMs = sinceLaunch.elapsed();

    const int runs = 5;
    std::vector<qint64> build, connected, roundTrip;
    for (int i = 0; i < runs; ++i) {
        Simulator sim(SimProfile::byName(QStringLiteral("logger")));
        if (!sim.startPty()) {
            std::fprintf(stderr, "no pseudo-terminal\n");
            return 1;
        }
        const QString port = sim.ptyName();
        TForm1::Hooks hooks;
        hooks.portLister = [port] { return QStringList{port}; };
        QElapsedTimer t;
        t.start();
        TForm1 window(hooks);
        window.show();
        build.push_back(t.elapsed());
        while (window.link->state().connected == 0 && t.elapsed() < 15000)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        connected.push_back(t.elapsed());
        roundTrip.push_back(window.link->state().roundTripMs);
        if (!window.Memo1->toPlainText().startsWith(QStringLiteral("连接成功")))
            std::fprintf(stderr, "run %d did not connect\n", i + 1);
    }
    auto median = [](std::vector<qint64> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("start-up (median of %d runs, demo logger on a pty at 9600 baud)\n", runs);
    std::printf("  QApplication created            %6lld ms after launch\n", appMs);
    std::printf("  window built, connect sent      %6lld ms\n", median(build));
    std::printf("  \"连接成功\" shown                 %6lld ms\n", median(connected));
    std::printf("  of which the instrument's answer %6lld ms (round trip, 155 bytes at 9600 baud)\n",
                median(roundTrip));
    return 0;
}
