#include "sim/simulator.h"
#include "ui/form1.h"
#include "ui/translations.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <memory>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvel"));
    installChineseTranslations(app);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Korvel: configure and read out field instruments."));
    parser.addHelpOption();
    const QCommandLineOption demoOption(QStringLiteral("demo"),
                                        QStringLiteral("Run against the built-in simulated data logger."));
    parser.addOption(demoOption);
    parser.process(app);

    // The demo instrument sits on a pseudo-terminal and is the only port offered, so the
    // start-up connect finds it and everything else runs as with a real one.
    std::unique_ptr<Simulator> demo;
    TForm1::Hooks hooks;
    if (parser.isSet(demoOption)) {
        demo = std::make_unique<Simulator>(SimProfile::byName(QStringLiteral("logger")));
        if (!demo->startPty()) {
            std::fprintf(stderr, "korvel: cannot create a pseudo-terminal for the demo instrument\n");
            return 1;
        }
        const QString port = demo->ptyName();
        hooks.portLister = [port] { return QStringList{port}; };
    }

    TForm1 window(hooks);
    window.show();
    const int rc = app.exec();
    return rc;
}
