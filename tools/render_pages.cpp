// Renders every page of the main window to PNG files, for looking at the layout without
// a display: render-pages <folder> [--demo]
// With --demo the window first connects to the built-in simulated logger, as `korvel --demo` does.

#include "link/command_link.h"
#include "sim/simulator.h"
#include "ui/form1.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTextStream>

#include <memory>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvel"));
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        err << "usage: render-pages <folder> [--demo]\n";
        return 2;
    }
    const QDir folder(args.at(1));
    if (!QDir().mkpath(folder.path())) {
        err << "cannot create " << folder.path() << "\n";
        return 1;
    }

    std::unique_ptr<Simulator> demo;
    TForm1::Hooks hooks;
    if (args.contains(QStringLiteral("--demo"))) {
        demo = std::make_unique<Simulator>(SimProfile::byName(QStringLiteral("logger")));
        if (!demo->startPty()) {
            err << "cannot create a pseudo-terminal for the demo instrument\n";
            return 1;
        }
        const QString port = demo->ptyName();
        hooks.portLister = [port] { return QStringList{port}; };
    } else {
        hooks.portLister = [] { return QStringList{}; };
    }
    TForm1 window(hooks);
    window.show();
    QElapsedTimer waited;
    waited.start();
    while (demo && window.link->state().connected == 0 && waited.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QApplication::processEvents();

    QTabWidget* pages = window.PageControl1;
    int failures = 0;
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        QApplication::processEvents();
        const QString path =
            folder.filePath(QStringLiteral("%1_%2.png").arg(i + 1).arg(pages->widget(i)->objectName()));
        if (window.grab().save(path)) {
            const QSize hint = pages->widget(i)->minimumSizeHint();
            QTextStream(stdout) << path << "  (window " << window.width() << "x" << window.height()
                                << ", page needs at least " << hint.width() << "x" << hint.height() << ")\n";
        } else {
            err << "cannot write " << path << "\n";
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
