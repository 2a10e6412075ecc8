// korvel-sim: a simulated instrument on a pseudo-terminal or TCP, for working without hardware.

#include "codec/hex_text.h"
#include "sim/sim_gprs_upload.h"
#include "sim/simulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimer>

#include <atomic>
#include <csignal>
#include <cstdio>

namespace {

std::atomic<bool> g_stop{false};

void onSignal(int) {
    g_stop = true;
}

int fail(const QString& message) {
    std::fprintf(stderr, "korvel-sim: %s\n", qPrintable(message));
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("korvel-sim"));

    QCommandLineParser cli;
    cli.setApplicationDescription(QStringLiteral(
        "Simulated instrument. Prints the pty path (or the TCP port) on the first line of stdout,\n"
        "then serves until interrupted."));
    cli.addHelpOption();
    const QCommandLineOption transport(QStringLiteral("transport"),
                                       QStringLiteral("pty, tcp-server or tcp-client (default pty)."),
                                       QStringLiteral("kind"), QStringLiteral("pty"));
    const QCommandLineOption profile(
        QStringLiteral("profile"),
        QStringLiteral("Instrument: %1 (default logger).").arg(SimProfile::names().join(QLatin1String(", "))),
        QStringLiteral("name"), QStringLiteral("logger"));
    const QCommandLineOption address(QStringLiteral("address"),
                                     QStringLiteral("Instrument address 1-255 (default 1)."),
                                     QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption link(QStringLiteral("link"),
                                  QStringLiteral("pty: also make this symlink to the slave."),
                                  QStringLiteral("path"));
    const QCommandLineOption port(
        QStringLiteral("port"),
        QStringLiteral("tcp-server: port to listen on (0 = any); tcp-client: port to "
                       "connect to (default 8001)."),
        QStringLiteral("port"), QStringLiteral("8001"));
    const QCommandLineOption host(QStringLiteral("host"), QStringLiteral("tcp-client: host to connect to."),
                                  QStringLiteral("host"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption noPacing(QStringLiteral("no-pacing"),
                                      QStringLiteral("pty: send at once instead of at the baud rate set."));
    const QCommandLineOption fault(QStringLiteral("fault"),
                                   QStringLiteral("Inject a fault (repeatable): %1, with optional :N "
                                                  "(silence count, split pause ms, foreign address) and @K "
                                                  "(request number), e.g. silence:2@1, split2:400.")
                                       .arg(SimFault::kindNames().join(QLatin1String(", "))),
                                   QStringLiteral("fault"));
    const QCommandLineOption quiet(QStringLiteral("quiet"),
                                   QStringLiteral("Do not print each request on stderr."));
    const QCommandLineOption upload(
        QStringLiteral("upload"),
        QStringLiteral("tcp-client: send N GPRS upload packets of the profile's records, "
                       "then keep answering commands."),
        QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption uploadInterval(
        QStringLiteral("upload-interval"),
        QStringLiteral("Pause between upload packets in ms (default 1000)."), QStringLiteral("ms"),
        QStringLiteral("1000"));
    cli.addOptions(
        {transport, profile, address, link, port, host, noPacing, fault, quiet, upload, uploadInterval});
    cli.process(app);

    SimProfile p = SimProfile::byName(cli.value(profile));
    if (p.name.isEmpty())
        return fail(QStringLiteral("unknown profile '%1' (one of: %2)")
                        .arg(cli.value(profile), SimProfile::names().join(QLatin1String(", "))));
    bool ok = false;
    const int addr = cli.value(address).toInt(&ok);
    if (!ok || addr < 1 || addr > 255)
        return fail(QStringLiteral("address must be 1..255"));
    p.address = addr;
    const int portNumber = cli.value(port).toInt(&ok);
    if (!ok || portNumber < 0 || portNumber > 65535)
        return fail(QStringLiteral("port must be 0..65535"));

    const int uploads = cli.value(upload).toInt(&ok);
    if (!ok || uploads < 0)
        return fail(QStringLiteral("upload count must be 0 or more"));
    const int uploadPauseMs = cli.value(uploadInterval).toInt(&ok);
    if (!ok || uploadPauseMs < 0)
        return fail(QStringLiteral("upload interval must be 0 or more"));
    if (uploads > 0 && cli.value(transport) != QLatin1String("tcp-client"))
        return fail(QStringLiteral("--upload needs --transport tcp-client"));

    QList<SimFault> faults;
    for (const QString& text : cli.values(fault)) {
        const std::optional<SimFault> f = SimFault::fromText(text);
        if (!f)
            return fail(QStringLiteral("cannot read fault '%1'").arg(text));
        faults.append(*f);
    }

    Simulator sim(p);
    sim.setPacing(!cli.isSet(noPacing));
    for (const SimFault& f : faults)
        sim.injectFault(f);
    if (!cli.isSet(quiet)) {
        sim.setRequestObserver([](const SimRequest& r) {
            std::fprintf(stderr, "#%d %s%s\n", r.number, aBytesToHex(r.bytes).trimmed().constData(),
                         r.checksumOk ? "" : "  (bad sum)");
        });
    }

    const QString kind = cli.value(transport);
    QString where;
    if (kind == QLatin1String("pty")) {
        if (!sim.startPty(cli.value(link)))
            return fail(QStringLiteral("cannot open a pseudo-terminal%1")
                            .arg(cli.isSet(link) ? QStringLiteral(" or make the link ") + cli.value(link)
                                                 : QString()));
        where = sim.ptyPath();
    } else if (kind == QLatin1String("tcp-server")) {
        if (!sim.startTcpServer(quint16(portNumber)))
            return fail(QStringLiteral("cannot listen on 127.0.0.1:%1").arg(portNumber));
        where = QString::number(sim.tcpPort());
    } else if (kind == QLatin1String("tcp-client")) {
        if (!sim.startTcpClient(cli.value(host), quint16(portNumber)))
            return fail(QStringLiteral("cannot connect to %1:%2").arg(cli.value(host)).arg(portNumber));
        where = QStringLiteral("%1:%2").arg(cli.value(host)).arg(portNumber);
    } else {
        return fail(QStringLiteral("unknown transport '%1' (pty, tcp-server, tcp-client)").arg(kind));
    }

    std::printf("%s\n", qPrintable(where));
    std::fflush(stdout);
    std::fprintf(stderr, "korvel-sim: %s instrument, address %d, on %s%s\n", qPrintable(p.name), p.address,
                 qPrintable(kind),
                 cli.isSet(link) ? qPrintable(QStringLiteral(" (") + cli.value(link) + ')') : "");

    // Uploads go one per pause, so the server reads each packet on its own.
    constexpr int RecordsPerUpload = 10;
    const QDateTime uploadStart = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch());
    int uploaded = 0;
    QTimer uploadTimer;
    const auto sendNextUpload = [&] {
        if (uploaded >= uploads) {
            uploadTimer.stop();
            return;
        }
        const QByteArray packet = simGprsUploadPacket(p, uploaded, RecordsPerUpload, uploadStart);
        if (!sim.sendToLine(packet)) {
            uploadTimer.stop();
            return;
        }
        ++uploaded;
        std::fprintf(stderr, "upload %d/%d: %lld bytes\n", uploaded, uploads, qlonglong(packet.size()));
    };
    QObject::connect(&uploadTimer, &QTimer::timeout, &app, sendNextUpload);
    if (uploads > 0) {
        sendNextUpload();
        uploadTimer.start(uploadPauseMs);
    }

    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    QTimer stopCheck;
    QObject::connect(&stopCheck, &QTimer::timeout, &app, [&] {
        if (g_stop)
            app.quit();
        // A TCP client whose peer went away has nothing left to do.
        if (kind == QLatin1String("tcp-client") && !sim.lineOpen())
            app.quit();
    });
    stopCheck.start(100);
    return app.exec();
}
